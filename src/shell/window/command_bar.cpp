#include "shell/window/command_bar.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <functional>
#include <tuple>

namespace tesk {

namespace {

// clang-format off
const CaptionRow CAPTIONS[] = {
    // Hints of the command bar.
    {"SpeedButton1", CaptionKind::Hint, -1, "Open File", "Открыть файл"},
    {"SpeedButton3", CaptionKind::Hint, -1, "Save File", "Сохранить файл"},
    {"SpeedButton4", CaptionKind::Hint, -1, "Close Program", "Закрыть программу"},
    {"SpeedButton5", CaptionKind::Hint, -1, "Show profile", "Показать профиль"},
    {"SpeedButton6", CaptionKind::Hint, -1, "Show a relief of a profile", "Показать рельеф профиля"},
    {"SpeedButton7", CaptionKind::Hint, -1, "Plane section of the coordinates X,Y,T.", "Плоскости сечения по координатам X,Y,T."},
    {"SpeedButton8", CaptionKind::Hint, -1, "Profile in 3D", "Профиль в 3D"},
    {"SpeedButton9", CaptionKind::Hint, -1, "3D section of profiles", "3D разрез профилей"},
    {"SpeedButton10", CaptionKind::Hint, -1, "Options of a file", "Опции файла"},
    {"SpeedButton11", CaptionKind::Hint, -1, "Table of Coordinates on", "Вкл. таблицу Координат"},
    {"SpeedButton12", CaptionKind::Hint, -1, "Pseudo-amplitude section on profiles", "Псевдо-амплитудный разрез по профилям"},
    {"SpeedButton13", CaptionKind::Hint, -1, "Invert mirror a profile", "Перевернуть профиль зеркально"},
    {"SpeedButton14", CaptionKind::Hint, -1, "Move profile to up", "Сдвинуть профиль вверх"},
    {"SpeedButton15", CaptionKind::Hint, -1, "Measure velocity in a soil", "Измерить скорость в грунте"},
    {"SpeedButton16", CaptionKind::Hint, -1, "Measure velocity in a soil", "Измерить скорость в грунте"},
    {"SpeedButton17", CaptionKind::Hint, -1, "Previous frame", "Предыдущий кадр"},
    {"SpeedButton18", CaptionKind::Hint, -1, "Following frame", "Следующий кадр"},
    {"SpeedButton20", CaptionKind::Hint, -1, "Cursor one frame back", "Курсор на кадр назад"},
    {"SpeedButton21", CaptionKind::Hint, -1, "Cursor one frame on", "Курсор на кадр вперёд"},
    {"SpeedButton22", CaptionKind::Hint, -1, "Cursor one sample up", "Курсор на отсчёт вверх"},
    {"SpeedButton23", CaptionKind::Hint, -1, "Cursor one sample down", "Курсор на отсчёт вниз"},
    {"SpeedButton24", CaptionKind::Hint, -1, "Cross section one step back", "Поперечное сечение на шаг назад"},
    {"SpeedButton25", CaptionKind::Hint, -1, "Cross section one step on", "Поперечное сечение на шаг вперёд"},
    {"SpeedButton26", CaptionKind::Hint, -1, "Move frames to Right", "Сдвинуть кадры Вправо"},
    {"SpeedButton27", CaptionKind::Hint, -1, "Move frames to Left", "Сдвинуть кадры Влево"},
    {"SpeedButton28", CaptionKind::Hint, -1, "Copy frames in clipboard ", "Копировать кадры в буфер обмена"},
    {"SpeedButton29", CaptionKind::Hint, -1, "Paste frames from clipboard", "Вставить кадры из буфера обмена"},
    {"SpeedButton30", CaptionKind::Hint, -1, "Delete frame(s)", "Удалить кадр(ы)"},
    {"SpeedButton31", CaptionKind::Hint, -1, "To change a file on X -axis", "Изменить файл по оси X"},
    {"SpeedButton32", CaptionKind::Hint, -1, "To change a file on Y -axis", "Изменить файл по оси Y"},
    {"SpeedButton35", CaptionKind::Hint, -1, "Magnifier", "Лупа"},
    {"MaskEdit1", CaptionKind::Hint, -1, "Current frame", "Текущий кадр"},
    {"StaticText1", CaptionKind::Hint, -1, "X without the profile step", "X без учета шага профиля"},
    {"StaticText2", CaptionKind::Hint, -1, "X with the profile step", "X с учетом шага профиля"},
    {"StaticText3", CaptionKind::Hint, -1, "Depth of the profile in NS", "Глубина профиля в NS"},
    {"StaticText4", CaptionKind::Hint, -1, "Depth of the profile in M", "Глубина профиля в M"},
    {"StaticText5", CaptionKind::Hint, -1, "Y without the profile step", "Y без учета шага профиля"},
    {"StaticText6", CaptionKind::Hint, -1, "Y with the profile step", "Y с учетом шага профиля"},
};
// clang-format on

// Simple drawn glyphs: each button shows what it does at a glance.
enum class Glyph {
    Open,
    Save,
    Close,
    Profile,
    Relief,
    Slice,
    Pseudo,
    Cube3D,
    Section3D,
    Coordinates,
    Magnifier,
    Velocity,
    Mirror,
    MoveUp,
    MoveRight,
    MoveLeft,
    Copy,
    Paste,
    Delete,
    ResampleX,
    ResampleT,
    Minus,
    Plus
};

QIcon glyph(Glyph g) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(0x20, 0x20, 0x60), 2);
    p.setPen(pen);
    switch (g) {
    case Glyph::Open:
        p.setBrush(QColor(0xF0, 0xD0, 0x60));
        p.drawRect(3, 7, 18, 13);
        p.drawLine(3, 7, 8, 4);
        p.drawLine(8, 4, 12, 7);
        break;
    case Glyph::Save:
        p.setBrush(QColor(0x40, 0x60, 0xC0));
        p.drawRect(4, 4, 16, 16);
        p.setBrush(Qt::white);
        p.drawRect(8, 4, 8, 6);
        break;
    case Glyph::Close:
        p.setPen(QPen(QColor(0xB0, 0, 0), 3));
        p.drawLine(5, 5, 19, 19);
        p.drawLine(19, 5, 5, 19);
        break;
    case Glyph::Profile:
        for (int x = 3; x < 21; x += 3) p.drawLine(x, 4, x + 1, 20);
        break;
    case Glyph::Relief: {
        QPainterPath path(QPointF(2, 16));
        path.cubicTo(8, 4, 14, 22, 22, 8);
        p.drawPath(path);
        break;
    }
    case Glyph::Slice:
        p.drawRect(3, 6, 18, 12);
        p.drawLine(3, 12, 21, 12);
        break;
    case Glyph::Pseudo:
        p.setBrush(QColor(0xE0, 0x80, 0x40));
        p.drawEllipse(5, 5, 14, 14);
        break;
    case Glyph::Cube3D:
    case Glyph::Section3D:
        p.drawRect(4, 8, 12, 12);
        p.drawLine(4, 8, 9, 3);
        p.drawLine(16, 8, 21, 3);
        p.drawLine(9, 3, 21, 3);
        p.drawLine(21, 3, 21, 15);
        p.drawLine(16, 20, 21, 15);
        if (g == Glyph::Section3D) p.drawLine(4, 14, 16, 14);
        break;
    case Glyph::Coordinates:
        p.drawLine(12, 2, 12, 22);
        p.drawLine(2, 12, 22, 12);
        p.drawEllipse(7, 7, 10, 10);
        break;
    case Glyph::Magnifier:
        p.drawEllipse(3, 3, 12, 12);
        p.setPen(QPen(QColor(0x20, 0x20, 0x60), 3));
        p.drawLine(14, 14, 21, 21);
        break;
    case Glyph::Velocity: {
        QPainterPath path(QPointF(2, 20));
        path.quadTo(12, -4, 22, 20);
        p.drawPath(path);
        break;
    }
    case Glyph::Mirror:
        p.drawLine(12, 2, 12, 22);
        p.drawLine(4, 12, 9, 7);
        p.drawLine(4, 12, 9, 17);
        p.drawLine(20, 12, 15, 7);
        p.drawLine(20, 12, 15, 17);
        break;
    case Glyph::MoveUp:
        p.drawLine(12, 20, 12, 4);
        p.drawLine(12, 4, 6, 10);
        p.drawLine(12, 4, 18, 10);
        p.drawLine(5, 21, 19, 21);
        break;
    case Glyph::MoveRight:
    case Glyph::MoveLeft: {
        const int d = g == Glyph::MoveRight ? 1 : -1;
        p.drawLine(4, 12, 20, 12);
        p.drawLine(12 + 8 * d, 12, 12 + 3 * d, 6);
        p.drawLine(12 + 8 * d, 12, 12 + 3 * d, 18);
        break;
    }
    case Glyph::Copy:
        p.drawRect(3, 3, 11, 14);
        p.drawRect(9, 7, 11, 14);
        break;
    case Glyph::Paste:
        p.setBrush(QColor(0xE0, 0xE0, 0xA0));
        p.drawRect(5, 4, 14, 17);
        break;
    case Glyph::Delete:
        p.drawRect(6, 6, 12, 15);
        p.drawLine(4, 5, 20, 5);
        break;
    case Glyph::ResampleX:
        p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, "X");
        break;
    case Glyph::ResampleT:
        p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, "T");
        break;
    case Glyph::Minus:
        p.drawLine(6, 12, 18, 12);
        break;
    case Glyph::Plus:
        p.drawLine(6, 12, 18, 12);
        p.drawLine(12, 6, 12, 18);
        break;
    }
    return QIcon(pm);
}

QToolButton* glyphButton(QWidget* parent, const char* name, Glyph g, int x, int w = 30) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setIcon(glyph(g));
    b->setIconSize(QSize(22, 22));
    b->setGeometry(x, 3, w, 30);
    b->setAutoRaise(true);
    return b;
}

QToolButton* textButton(QWidget* parent, const char* name, const char* caption, int x, int w) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(caption);
    b->setGeometry(x, 5, w, 26);
    return b;
}

// The wheel over the bar slides its strip.
class WheelFilter final : public QObject {
  public:
    using QObject::QObject;
    std::function<void(int)> onWheel;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::Wheel || !onWheel) return QObject::eventFilter(watched, e);
        const QPoint d = static_cast<QWheelEvent*>(e)->angleDelta();
        const int steps = (std::abs(d.x()) > std::abs(d.y()) ? d.x() : d.y()) / 120;
        if (steps != 0) onWheel(steps);
        return true;
    }
};

QLabel* readout(QWidget* parent, const char* name, int x, int w) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setGeometry(x, 8, w, 20);
    l->setText("0");
    return l;
}

} // namespace

CommandBar::CommandBar(ShellServices& services, QWidget& window) : ShellPanel(services) {
    Panel_1 = new QFrame(&window);
    Panel_1->setObjectName("Panel_1");
    Panel_1->setFrameShape(QFrame::Panel);
    Panel_1->setFrameShadow(QFrame::Raised);
    Panel_1->setAutoFillBackground(true);
    Panel_1->setGeometry(0, 0, window.width(), HEIGHT);
    // The controls stand on a strip that slides along the bar when the
    // window is narrower than they are; the arrows at the right end move it.
    strip_ = new QWidget(Panel_1);
    strip_->setObjectName("Panel_1Strip");
    QWidget* b = strip_;
    // Everything fits into the design width of 1467 pixels.
    int x = 4;
    SpeedButton1 = glyphButton(b, "SpeedButton1", Glyph::Open, x);
    SpeedButton3 = glyphButton(b, "SpeedButton3", Glyph::Save, x += 30);
    SpeedButton4 = glyphButton(b, "SpeedButton4", Glyph::Close, x += 30);
    SpeedButton10 = textButton(b, "SpeedButton10", "Options", x += 38, 54);
    SpeedButton5 = glyphButton(b, "SpeedButton5", Glyph::Profile, x += 60);
    SpeedButton6 = glyphButton(b, "SpeedButton6", Glyph::Relief, x += 30);
    SpeedButton7 = glyphButton(b, "SpeedButton7", Glyph::Slice, x += 30);
    SpeedButton12 = glyphButton(b, "SpeedButton12", Glyph::Pseudo, x += 30);
    SpeedButton8 = glyphButton(b, "SpeedButton8", Glyph::Cube3D, x += 30);
    SpeedButton9 = glyphButton(b, "SpeedButton9", Glyph::Section3D, x += 30);
    SpeedButton11 = glyphButton(b, "SpeedButton11", Glyph::Coordinates, x += 30);
    SpeedButton35 = glyphButton(b, "SpeedButton35", Glyph::Magnifier, x += 30);
    SpeedButton15 = glyphButton(b, "SpeedButton15", Glyph::Velocity, x += 37);
    SpeedButton16 = glyphButton(b, "SpeedButton16", Glyph::Velocity, x += 30);
    SpeedButton13 = glyphButton(b, "SpeedButton13", Glyph::Mirror, x += 37);
    SpeedButton14 = glyphButton(b, "SpeedButton14", Glyph::MoveUp, x += 30);
    SpeedButton26 = glyphButton(b, "SpeedButton26", Glyph::MoveRight, x += 30);
    SpeedButton27 = glyphButton(b, "SpeedButton27", Glyph::MoveLeft, x += 30);
    SpeedButton28 = glyphButton(b, "SpeedButton28", Glyph::Copy, x += 30);
    SpeedButton29 = glyphButton(b, "SpeedButton29", Glyph::Paste, x += 30);
    SpeedButton30 = glyphButton(b, "SpeedButton30", Glyph::Delete, x += 30);
    SpeedButton31 = glyphButton(b, "SpeedButton31", Glyph::ResampleX, x += 30);
    SpeedButton32 = glyphButton(b, "SpeedButton32", Glyph::ResampleT, x += 30);
    SpeedButton17 = textButton(b, "SpeedButton17", "000", x += 38, 40);
    MaskEdit1 = new QLineEdit(b);
    MaskEdit1->setObjectName("MaskEdit1");
    MaskEdit1->setInputMask("99999; "); // blanks show where digits are still to come
    MaskEdit1->setGeometry(x += 42, 7, 52, 22);
    MaskEdit1->setText("00000");
    SpeedButton18 = textButton(b, "SpeedButton18", "64000", x += 54, 48);
    StaticText1 = readout(b, "StaticText1", x += 56, 50);
    SpeedButton20 = textButton(b, "SpeedButton20", "-  Xp", x += 52, 36);
    SpeedButton21 = textButton(b, "SpeedButton21", "+Lcm", x += 37, 40);
    StaticText2 = readout(b, "StaticText2", x += 42, 56);
    SpeedButton22 = textButton(b, "SpeedButton22", "-  Tp", x += 60, 36);
    SpeedButton23 = textButton(b, "SpeedButton23", "+Dcm", x += 37, 40);
    StaticText3 = readout(b, "StaticText3", x += 42, 48);
    StaticText4 = readout(b, "StaticText4", x += 50, 52);
    SpeedButton24 = textButton(b, "SpeedButton24", "- Yp", x += 56, 36);
    SpeedButton25 = textButton(b, "SpeedButton25", "+Lcm", x += 37, 40);
    StaticText5 = readout(b, "StaticText5", x += 42, 44);
    StaticText6 = readout(b, "StaticText6", x += 46, 50);
    strip_->setGeometry(0, 0, StaticText6->geometry().right() + 1 + 4, HEIGHT);
    for (auto [button, name, arrow] : {std::tuple{&scrollBack_, "Panel_1Back", Qt::LeftArrow},
                                       std::tuple{&scrollOn_, "Panel_1On", Qt::RightArrow}}) {
        *button = new QToolButton(Panel_1);
        (*button)->setObjectName(name);
        (*button)->setArrowType(arrow);
        (*button)->setAutoFillBackground(true);
        (*button)->hide();
    }
    QObject::connect(scrollBack_, &QToolButton::clicked, Panel_1,
                     [this] { scrollBy(-scrollStep()); });
    QObject::connect(scrollOn_, &QToolButton::clicked, Panel_1, [this] { scrollBy(scrollStep()); });
    auto* wheel = new WheelFilter(Panel_1);
    wheel->onWheel = [this](int notches) { scrollBy(-notches * WHEEL_STEP); };
    Panel_1->installEventFilter(wheel);
    strip_->installEventFilter(wheel);
    // A control reached with Tab slides into view.
    QObject::connect(qApp, &QApplication::focusChanged, Panel_1, [this](QWidget*, QWidget* now) {
        if (now && strip_->isAncestorOf(now)) showControl(now);
    });
    fitWidth(window.width());
}

int CommandBar::contentWidth() const {
    return strip_->width();
}

int CommandBar::visibleWidth() const {
    const int w = Panel_1->width();
    return w >= contentWidth() ? w : w - 2 * ARROW_WIDTH;
}

int CommandBar::scrollStep() const {
    return std::max(visibleWidth() / 2, WHEEL_STEP);
}

void CommandBar::fitWidth(int width) {
    Panel_1->setGeometry(0, 0, width, HEIGHT);
    const bool narrow = width < contentWidth();
    scrollBack_->setVisible(narrow);
    scrollOn_->setVisible(narrow);
    if (narrow) {
        scrollBack_->setGeometry(width - 2 * ARROW_WIDTH, 3, ARROW_WIDTH, HEIGHT - 6);
        scrollOn_->setGeometry(width - ARROW_WIDTH, 3, ARROW_WIDTH, HEIGHT - 6);
        scrollBack_->raise();
        scrollOn_->raise();
    }
    scrollBy(0);
}

void CommandBar::scrollBy(int pixels) {
    const int most = std::max(0, contentWidth() - visibleWidth());
    offset_ = std::clamp(offset_ + pixels, 0, most);
    strip_->move(-offset_, 0);
    scrollBack_->setEnabled(offset_ > 0);
    scrollOn_->setEnabled(offset_ < most);
}

void CommandBar::showControl(QWidget* control) {
    const QRect r = control->geometry();
    if (r.left() < offset_)
        scrollBy(r.left() - 4 - offset_);
    else if (r.right() + 1 > offset_ + visibleWidth())
        scrollBy(r.right() + 1 + 4 - offset_ - visibleWidth());
}

std::span<const CaptionRow> CommandBar::captions() const {
    return CAPTIONS;
}

void enableCommand(QToolButton* b, bool on) {
    if (b) b->setEnabled(on);
}

std::vector<QToolButton*> CommandBar::surveyCommands() const {
    return {SpeedButton3,  SpeedButton5,  SpeedButton6,  SpeedButton7,  SpeedButton8,
            SpeedButton9,  SpeedButton11, SpeedButton12, SpeedButton13, SpeedButton14,
            SpeedButton15, SpeedButton16, SpeedButton17, SpeedButton18, SpeedButton20,
            SpeedButton21, SpeedButton22, SpeedButton23, SpeedButton24, SpeedButton25,
            SpeedButton26, SpeedButton27, SpeedButton28, SpeedButton29, SpeedButton30,
            SpeedButton31, SpeedButton32, SpeedButton35};
}

} // namespace tesk
