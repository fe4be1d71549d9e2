#pragma once
// A titled group of radio buttons that acts as one control with an item
// index, as the window's hemisphere choices do. The buttons are named
// "<group>_<item>"; onClick runs when the operator (or a recipe) picks an
// item, not when the program sets one.

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <vector>

namespace tesk {

class RadioGroup final : public QGroupBox {
  public:
    RadioGroup(QWidget* parent, const char* name, const QStringList& items, QRect geometry)
        : QGroupBox(parent), buttons_(this) {
        setObjectName(name);
        setGeometry(geometry);
        const int w = (geometry.width() - 12) / int(std::max<qsizetype>(items.size(), 1));
        for (int i = 0; i < int(items.size()); ++i) {
            auto* b = new QRadioButton(items[i], this);
            b->setObjectName(QString("%1_%2").arg(name).arg(i));
            b->setGeometry(8 + i * w, 16, w, 18);
            buttons_.addButton(b, i);
        }
        if (!items.isEmpty()) buttons_.button(0)->setChecked(true);
        connect(&buttons_, &QButtonGroup::idClicked, this, [this](int) {
            if (onClick) onClick();
        });
    }
    int itemIndex() const { return buttons_.checkedId(); }
    int count() const { return int(buttons_.buttons().size()); }
    // Sets the item without running onClick.
    void setItemIndex(int item) {
        if (QAbstractButton* b = buttons_.button(item)) b->setChecked(true);
    }
    // Picks the item as a click does: onClick runs.
    void clickItem(int item) {
        if (QAbstractButton* b = buttons_.button(item)) b->click();
    }
    std::function<void()> onClick;

  private:
    QButtonGroup buttons_;
};

} // namespace tesk
