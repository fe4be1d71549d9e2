#include "shell/widgets/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

namespace tesk {

QFrame* subPanel(QWidget* parent, const char* name, int width) {
    auto* p = new QFrame(parent);
    p->setObjectName(name);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Sunken);
    p->setAutoFillBackground(true);
    p->resize(width, SUB_PANEL_HEIGHT);
    return p;
}

QFrame* innerPanel(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* p = new QFrame(parent);
    p->setObjectName(name);
    p->setFrameShape(QFrame::Panel);
    p->setGeometry(x, y, w, h);
    return p;
}

QCheckBox* checkBox(QWidget* parent, const char* name, int x, int y, int w) {
    auto* c = new QCheckBox(parent);
    c->setObjectName(name);
    c->setGeometry(x, y, w, 18);
    return c;
}

QLabel* label(QWidget* parent, const char* name, int x, int y, int w) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(x, y, w, 14);
    return l;
}

QComboBox* combo(QWidget* parent, const char* name, int x, int y, int w, const QStringList& items) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setGeometry(x, y, w, 21);
    c->addItems(items);
    c->setMaxVisibleItems(20);
    return c;
}

QStringList numbered(const QString& prefix, int count) {
    QStringList l;
    for (int i = 0; i < count; ++i) l << prefix + QString::number(i);
    return l;
}

void applyCheckBoxColour(QCheckBox* box) {
    QPalette p = box->palette();
    const QColor c = box->isChecked() ? CHECKED_COLOUR : UNCHECKED_COLOUR;
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::ButtonText, c);
    box->setPalette(p);
}

void setBoxColour(QComboBox* box, const QColor& c) {
    QPalette p = box->palette();
    p.setColor(QPalette::Base, c);
    p.setColor(QPalette::Button, c);
    box->setPalette(p);
}

void resetBoxColour(QComboBox* box) {
    box->setPalette(QPalette());
}

void setFontColour(QWidget* w, uint32_t bgr) {
    QPalette p = w->palette();
    const QColor c(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::ButtonText, c);
    p.setColor(QPalette::WindowText, c);
    w->setPalette(p);
}

bool MouseFilter::eventFilter(QObject*, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress) {
        if (onPress && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) onPress();
        return true;
    }
    if (e->type() == QEvent::MouseButtonDblClick) {
        if (onDoubleClick) onDoubleClick();
        return true;
    }
    return e->type() == QEvent::MouseButtonRelease || e->type() == QEvent::MouseMove;
}

} // namespace tesk
