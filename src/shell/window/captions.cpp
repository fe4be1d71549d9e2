#include "shell/window/captions.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QWidget>

namespace tesk {

void applyCaptionRows(QWidget& root, std::span<const CaptionRow> rows, bool en) {
    for (const CaptionRow& r : rows) {
        QWidget* w = root.findChild<QWidget*>(r.control);
        if (!w) continue;
        const QString text = QString::fromUtf8(en ? r.en : r.ru);
        switch (r.kind) {
        case CaptionKind::Hint:
            w->setToolTip(text);
            break;
        case CaptionKind::Caption:
            if (auto* l = qobject_cast<QLabel*>(w)) {
                l->setText(text);
                // A title too narrow for its caption grows to the right.
                if ((l->alignment() & Qt::AlignLeft) && !l->wordWrap() &&
                    l->width() < l->sizeHint().width())
                    l->resize(l->sizeHint().width(), l->height());
            } else if (auto* b = qobject_cast<QAbstractButton*>(w))
                b->setText(text);
            break;
        case CaptionKind::Item:
            if (auto* c = qobject_cast<QComboBox*>(w); c && r.index < c->count())
                c->setItemText(r.index, text);
            break;
        }
    }
}

} // namespace tesk
