// The language switch: every hint, caption, list item and table title of the
// window in Russian or English. The catalogue names controls by their object names, so
// a control added later joins the switch by adding its rows here.

#include "shell/string_grid.h"
#include "shell/tform1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <vector>

namespace tesk {

namespace {

enum class Kind { Hint, Caption, Item };

struct Row {
    const char* control;
    Kind kind;
    int index; // list item index; -1 for hints and captions
    const char* en;
    const char* ru;
};

// clang-format off
const Row CATALOGUE[] = {
    // Hints of the command bar.
    {"SpeedButton1", Kind::Hint, -1, "Open File", "Открыть файл"},
    {"SpeedButton3", Kind::Hint, -1, "Save File", "Сохранить файл"},
    {"SpeedButton4", Kind::Hint, -1, "Close Program", "Закрыть программу"},
    {"SpeedButton5", Kind::Hint, -1, "Show profile", "Показать профиль"},
    {"SpeedButton6", Kind::Hint, -1, "Show a relief of a profile", "Показать рельеф профиля"},
    {"SpeedButton7", Kind::Hint, -1, "Plane section of the coordinates X,Y,T.", "Плоскости сечения по координатам X,Y,T."},
    {"SpeedButton8", Kind::Hint, -1, "Profile in 3D", "Профиль в 3D"},
    {"SpeedButton9", Kind::Hint, -1, "3D section of profiles", "3D разрез профилей"},
    {"SpeedButton10", Kind::Hint, -1, "Options of a file", "Опции файла"},
    {"SpeedButton11", Kind::Hint, -1, "Table of Coordinates on", "Вкл. таблицу Координат"},
    {"SpeedButton12", Kind::Hint, -1, "Pseudo-amplitude section on profiles", "Псевдо-амплитудный разрез по профилям"},
    {"SpeedButton13", Kind::Hint, -1, "Invert mirror a profile", "Перевернуть профиль зеркально"},
    {"SpeedButton14", Kind::Hint, -1, "Move profile to up", "Сдвинуть профиль вверх"},
    {"SpeedButton15", Kind::Hint, -1, "Measure velocity in a soil", "Измерить скорость в грунте"},
    {"SpeedButton16", Kind::Hint, -1, "Measure velocity in a soil", "Измерить скорость в грунте"},
    {"SpeedButton17", Kind::Hint, -1, "Previous frame", "Предыдущий кадр"},
    {"SpeedButton18", Kind::Hint, -1, "Following frame", "Следующий кадр"},
    {"SpeedButton20", Kind::Hint, -1, "Cursor one frame back", "Курсор на кадр назад"},
    {"SpeedButton21", Kind::Hint, -1, "Cursor one frame on", "Курсор на кадр вперёд"},
    {"SpeedButton22", Kind::Hint, -1, "Cursor one sample up", "Курсор на отсчёт вверх"},
    {"SpeedButton23", Kind::Hint, -1, "Cursor one sample down", "Курсор на отсчёт вниз"},
    {"SpeedButton24", Kind::Hint, -1, "Cross section one step back", "Поперечное сечение на шаг назад"},
    {"SpeedButton25", Kind::Hint, -1, "Cross section one step on", "Поперечное сечение на шаг вперёд"},
    {"SpeedButton26", Kind::Hint, -1, "Move frames to Right", "Сдвинуть кадры Вправо"},
    {"SpeedButton27", Kind::Hint, -1, "Move frames to Left", "Сдвинуть кадры Влево"},
    {"SpeedButton28", Kind::Hint, -1, "Copy frames in clipboard ", "Копировать кадры в буфер обмена"},
    {"SpeedButton29", Kind::Hint, -1, "Paste frames from clipboard", "Вставить кадры из буфера обмена"},
    {"SpeedButton30", Kind::Hint, -1, "Delete frame(s)", "Удалить кадр(ы)"},
    {"SpeedButton31", Kind::Hint, -1, "To change a file on X -axis", "Изменить файл по оси X"},
    {"SpeedButton32", Kind::Hint, -1, "To change a file on Y -axis", "Изменить файл по оси Y"},
    {"SpeedButton35", Kind::Hint, -1, "Magnifier", "Лупа"},
    {"MaskEdit1", Kind::Hint, -1, "Current frame", "Текущий кадр"},
    {"StaticText1", Kind::Hint, -1, "X without the profile step", "X без учета шага профиля"},
    {"StaticText2", Kind::Hint, -1, "X with the profile step", "X с учетом шага профиля"},
    {"StaticText3", Kind::Hint, -1, "Depth of the profile in NS", "Глубина профиля в NS"},
    {"StaticText4", Kind::Hint, -1, "Depth of the profile in M", "Глубина профиля в M"},
    {"StaticText5", Kind::Hint, -1, "Y without the profile step", "Y без учета шага профиля"},
    {"StaticText6", Kind::Hint, -1, "Y with the profile step", "Y с учетом шага профиля"},
    // Captions.
    {"CheckBox2", Kind::Caption, -1, "Zero Level", "Уровень Нуля"},
    {"CheckBox3", Kind::Caption, -1, "Grid", "Сетка"},
    {"CheckBox4", Kind::Caption, -1, "Function", "Функция"},
    {"CheckBox6", Kind::Caption, -1, "Line of profile 2D", "Линия профиля 2Д"},
    {"CheckBox11", Kind::Caption, -1, "Parameters", "Параметры"},
    {"CheckBox12", Kind::Caption, -1, "Filters", "Фильтры"},
    {"CheckBox13", Kind::Caption, -1, "3D : 2D", "3Д : 2Д"},
    {"CheckBox14", Kind::Caption, -1, "Borders", "Границы"},
    {"CheckBox15", Kind::Caption, -1, "ADC", "АЦП"},
    {"CheckBox21", Kind::Caption, -1, "Background", "Фон"},
    {"CheckBox22", Kind::Caption, -1, "Inversion", "Инверсия"},
    {"CheckBox23", Kind::Caption, -1, "Choose amplitude value", "Выбрать значение амплитуды"},
    {"CheckBox59", Kind::Caption, -1, "Addition", "Сложение"},
    {"Label61", Kind::Caption, -1, "Start delay", "Задержка начала"},
    {"Label62", Kind::Caption, -1, "Sampling of .geb  /  probe level", "Выборка .geb  /  Уровень зонда"},
    {"Label63", Kind::Caption, -1, "Channel of .gpr", "Канал .gpr"},
    {"Label66", Kind::Caption, -1, "Frame area of .gpr", "Область кадра .gpr"},
    {"Label1", Kind::Caption, -1, "Please wait; there is a loading and processing of a file", "Пожалуйста подождите, идет загрузка и обработка файла"},
    {"Label10", Kind::Caption, -1, "Vgr = cm/1ns", "Vgr = сm/1ns"},
    {"Label11", Kind::Caption, -1, "Depth of profile", "Глубина профиля"},
    {"Label12", Kind::Caption, -1, "Step of profile  cm", "Шаг профиля  см"},
    {"Label13", Kind::Caption, -1, "D between antennas", "D между антенн"},
    {"Label14", Kind::Caption, -1, "Time stretch", "Растяжение времени"},
    {"Label15", Kind::Caption, -1, "Step on depth cm", "Шаг по глубине см"},
    {"Label16", Kind::Caption, -1, "Step of viewing ", "Шаг просмотра "},
    {"Label20", Kind::Caption, -1, "Filter 1", "Фильтр 1"},
    {"Label21", Kind::Caption, -1, "Filter 2", "Фильтр 2"},
    {"Label22", Kind::Caption, -1, "Quantity of color", "Количество цветов"},
    {"Label23", Kind::Caption, -1, "Scale of amplitude", "Шкала амплитуды"},
    {"Label24", Kind::Caption, -1, "Form of amplitude", "Форма амплитуды"},
    {"Label26", Kind::Caption, -1, "Zero and gain", "Ноль и усиление"},
    {"Label41", Kind::Caption, -1, "Addition of profiles", "Сложение профилей"},
    {"Label43", Kind::Caption, -1, "Method of addition", "Метод сложения"},
    {"Label51", Kind::Caption, -1, "Method of processing 3D", "Метод обработки 3D"},
    {"Label52", Kind::Caption, -1, "D between profiles", "D между профилями"},
    {"Label54", Kind::Caption, -1, "Sections", "Сечения"},
    {"Label80", Kind::Caption, -1, "P A N E L   3D", "П А Н Е Л Ь   3D"},
    {"Label_CRD", Kind::Caption, -1, " C O O R D I N A T E S     M E A S U R E M E N T", " К О О Р Д И Н А Т Ы     И З М Е Р Е Н И Я"},
    {"Label_OPTION", Kind::Caption, -1, " P A N E L  O P T I O N S", "П А Н Е Л Ь   О П Ц И Й"},
    {"Label_TVSL", Kind::Caption, -1, " T A B L E   O F   V E L O C I T I E S   A N D   D E P T H S ", " Т А Б Л И Ц А   С К О Р О С Т Е Й   И   Г Л У Б И Н "},
    {"Label_GDRF", Kind::Caption, -1, "G O D O G R A F", "Г О Д О Г Р А Ф"},
    {"Label_KRT", Kind::Caption, -1, "E C H O", "К Р А Т Н И К"},
    {"Panel241Caption", Kind::Caption, -1, "Source Color", "Исходный Цвет"},
    {"Panel51Caption", Kind::Caption, -1, " Amplitude", " Амплитуда"},
    // List items.
    {"ComboBox10", Kind::Item, 0, "  Hodograph", "  Годограф"},
    {"ComboBox16", Kind::Item, 0, "  20 Frames", "  20 Кадров"},
    {"ComboBox16", Kind::Item, 1, "  40 Frames", "  40 Кадров"},
    {"ComboBox16", Kind::Item, 2, " 100 Frames", " 100 Кадров"},
    {"ComboBox16", Kind::Item, 3, " 200 Frames", " 200 Кадров"},
    {"ComboBox16", Kind::Item, 4, " 300 Frames", " 300 Кадров"},
    {"ComboBox16", Kind::Item, 5, " 400 Frames", " 400 Кадров"},
    {"ComboBox16", Kind::Item, 6, " 500 Frames", " 500 Кадров"},
    {"ComboBox16", Kind::Item, 7, " Profile", " Профиль"},
    {"ComboBox17", Kind::Item, 0, " Switch off Marks", " Выключить маркеры"},
    {"ComboBox17", Kind::Item, 1, " Show Marks", " Показать маркеры"},
    {"ComboBox17", Kind::Item, 2, " Change Mark", " Изменить маркер"},
    {"ComboBox17", Kind::Item, 3, " Raise Mark status", " Повысить статус"},
    {"ComboBox17", Kind::Item, 4, " Lower Mark status 1", " Понизить статус до 1"},
    {"ComboBox17", Kind::Item, 5, " Lower Mark status 0", " Понизить статус до 0"},
    {"ComboBox17", Kind::Item, 6, " Delete all Marks", " Удалить все маркеры"},
    {"ComboBox18", Kind::Item, 0, " Amplitude form /0", " Амплитудный /0"},
    {"ComboBox18", Kind::Item, 1, " Amplitude form", " Амплитудный"},
    {"ComboBox18", Kind::Item, 2, " Derivative of function", " Производной функции"},
    {"ComboBox19", Kind::Item, 0, " Level of zero", " Уровень Нуля"},
    {"ComboBox19", Kind::Item, 1, " Magnify of amplitude 1", " Усиления Амплитуды 1"},
    {"ComboBox19", Kind::Item, 2, " Magnify of amplitude 2", " Усиления Амплитуды 2"},
    {"ComboBox20", Kind::Item, 0, " LF 1", " НЧ 1"},
    {"ComboBox20", Kind::Item, 1, " HF 1", " ВЧ 1"},
    {"ComboBox20", Kind::Item, 2, " LF 2", " НЧ 2"},
    {"ComboBox20", Kind::Item, 3, " HF 2", " ВЧ 2"},
    {"ComboBox21", Kind::Item, 0, " LF 1", " НЧ 1"},
    {"ComboBox21", Kind::Item, 1, " HF 1", " ВЧ 1"},
    {"ComboBox21", Kind::Item, 2, " LF 2", " НЧ 2"},
    {"ComboBox21", Kind::Item, 3, " HF 2", " ВЧ 2"},
    {"ComboBox29", Kind::Item, 0, " Linear", " Линейный"},
    {"ComboBox29", Kind::Item, 1, " Logarithm 1-0", " Логарифм 1-0"},
    {"ComboBox29", Kind::Item, 2, " Logarithm 2-0", " Логарифм 2-0"},
    {"ComboBox29", Kind::Item, 3, " Logarithm 2-1", " Логарифм 2-1"},
    {"ComboBox29", Kind::Item, 4, " Logarithm 2-2", " Логарифм 2-2"},
    {"ComboBox40", Kind::Item, 0, " No addition", " Нет сложения"},
    {"ComboBox40", Kind::Item, 1, " 2 Profiles", " 2 профиля"},
    {"ComboBox40", Kind::Item, 2, " 3 Profiles", " 3 профиля"},
    {"ComboBox40", Kind::Item, 3, " 4 Profiles", " 4 профиля"},
    {"ComboBox41", Kind::Item, 0, "  Addition", "  Сложение"},
    {"ComboBox41", Kind::Item, 1, "  Multiply", "  Умножение"},
    {"ComboBox41", Kind::Item, 2, "  Subtract", "  Вычетание"},
    {"ComboBox51", Kind::Item, 0, " Linear Xp", "Линейный  Хp"},
    {"ComboBox51", Kind::Item, 1, " Linear Yp", "Линейный  Yp"},
    {"ComboBox51", Kind::Item, 2, " Linear Xp+Yp", "Линейный  X+Yp"},
    {"ComboBox51", Kind::Item, 3, " On vector  V", "По вектору V"},
    {"ComboBox51", Kind::Item, 4, " On radius  R", "По радиусу R"},
    {"ComboBox62", Kind::Item, 0, "  Sampling       64", "  Выборка       64"},
    {"ComboBox62", Kind::Item, 1, "  Averaging 42", "  Усреднение 42"},
    {"ComboBox62", Kind::Item, 2, "  Accumulation 24", "  Накопление 24"},
    {"ComboBox63", Kind::Item, 0, " 1  Channel  Coarse", " 1  Канал  Грубый"},
    {"ComboBox63", Kind::Item, 1, " 2  Channel  Fine", " 2  Канал  Точный"},
    {"ComboBox63", Kind::Item, 2, " 3  Channel  Sum", " 3  Канал  Сумма"},
    // The Russian items 0 and 1 begin with a Latin "C".
    {"ComboBox54", Kind::Item, 0, " Section T", " Cечение T"},
    {"ComboBox54", Kind::Item, 1, " Section T  X ", " Cечение T  X "},
    {"ComboBox54", Kind::Item, 2, " Section T  Y", " Сечение T  Y"},
    {"ComboBox54", Kind::Item, 3, " Section T  X  Y", " Сечение T  X  Y"},
};

// Title cells of the tables, by (column, row).
struct Title {
    const char* grid;
    int column;
    int row;
    const char* en;
    const char* ru;
};

const Title TABLE_TITLES[] = {
    // Hodograph table: one row per layer boundary.
    {"StringGrid4", 0, 0, "№ ", "Годограф"},
    {"StringGrid4", 1, 0, "V hodograf", "V годограф"},
    {"StringGrid4", 2, 0, "V stratum", "V в слое"},
    {"StringGrid4", 3, 0, "D depth", "D глубина"},
    {"StringGrid4", 4, 0, " * Еps", " * Еps"},
    {"StringGrid4", 5, 0, "Conductivity", "Проводимость"},
    // Echo table: boundary time and the times of its first two multiples.
    {"StringGrid5", 0, 0, "№ ", "Граница"},
    {"StringGrid5", 1, 0, "T boundary ns", "T границы нс"},
    {"StringGrid5", 2, 0, "T echo 2 ns", "T кратной 2 нс"},
    {"StringGrid5", 3, 0, "T echo 3 ns", "T кратной 3 нс"},
    // Velocity and depth table: the point rows; the layer rows follow below.
    {"StringGrid1", 0, 0, " Borehole Nomber", " Номер Скважины"},
    {"StringGrid1", 0, 1, " Borehole Name", " Название Скважины"},
    {"StringGrid1", 0, 2, " № Point Measuring", " № Точки Измерения"},
    // Coordinates table: what each row of the two frames shows.
    {"StringGrid7", 0, 0, "  a-Scan", "  а-Скан"},
    {"StringGrid7", 0, 1, " Position in the File", " Позиция в Файле"},
    {"StringGrid7", 0, 2, " Point Name", " Название Маркера"},
    {"StringGrid7", 0, 3, " Longitude. Degrees ,000", " Долгота. Градусы ,000"},
    {"StringGrid7", 0, 4, " Latitude.  Degrees ,000", " Широта.  Градусы ,000"},
    {"StringGrid7", 0, 5, " Coordinate X cm USC", " Координата X cm ПСК"},
    {"StringGrid7", 0, 6, " Coordinate Y cm USC", " Координата Y cm ПСК"},
    {"StringGrid7", 0, 7, " Difference of Coordinates. cm.", " Разница Координат cm."},
    {"StringGrid7", 0, 8, " Altitude. cm.  ", " Высота cm.  "},
    {"StringGrid7", 0, 9, " Difference of Heights. cm.", " Разница Высот cm."},
};

// Eight rows per layer quantity in the velocity and depth table, numbered
// from the top layer: hodograph velocities from row 3, layer velocities from
// row 11, depths from row 19, levels from row 27.
struct LayerRows {
    int firstRow;
    const char* en;
    const char* ru;
};
const LayerRows LAYER_ROWS[] = {
    {3, "%1.  V hodograf", "%1.  V годографа"},
    {11, "%1.  V stratum", "%1.  V слоя"},
    {19, "%1.  Depth stratum", "%1.  Глубина слоя"},
    {27, "%1. Level", "%1.  Уровень"},
};

// Headers of the two frame columns of the coordinates table; which pair is
// shown depends on the row the operator last chose, so the switch keeps the
// pair and only changes its language. Pair 0 is the start pair.
struct HeaderPair {
    const char* en1;
    const char* en2;
    const char* ru1;
    const char* ru2;
};
const HeaderPair COORDINATE_HEADERS[] = {
    {" Coordinates 2 RC", " Coordinates 1 LC", " Координаты 2 ПК", " Координаты 1 ЛК"},
    {" Coordinates 2RC", " Coordinates 1LC", " Координаты 2 ПК", " Координаты 1 ЛК"},
    {" Distance straight line", " Distance on the profile", " Дистанция по прямой",
     " Дистанция по профилю"},
    {" Height relief 2 RC", " Height relief 1 LC", " Высота рельефа 2 ПК", " Высота рельефа 1 ЛК"},
    {" Height difference", " Maximum height", " Разница высот", " Максимальная высота"},
};

// Colour-count items: forms 0 and 1, then the derivative form.
const char* const COLOURS_EN[2][8] = {
    {"  ALL Colors", "  128 Colors", "    64 Colors", "    32 Colors", "    16 Colors",
     "    B\\W Scale", "    1 Min\\MaX", "    2 Min\\MaX"},
    {"  ALL Colors", "  128 Colors", "    64 Colors", "    32 Colors", "    16 Colors",
     "      2 Colors", "      1 Min\\MaX", "      2 Min\\MaX"}};
const char* const COLOURS_RU[2][8] = {
    {"  Все Цвета*", "  128 Цветов*", "    64 Цвета*", "    32 Цвета*", "    16 Цветов*",
     "    Ч/Б Шкала", "     1 Мин\\Макс", "     2 Мин\\Макс"},
    {"  Все Цвета", "  128 Цвета", "    64 Цвета", "    32 Цвета", "    16 Цветов",
     "      2 Цвета", "      1 Мин\\Макс", "      2 Мин\\Макс"}};
// clang-format on

void applyTableTitles(TForm1& form, bool en) {
    for (const Title& t : TABLE_TITLES)
        if (auto* g = form.findChild<StringGrid*>(t.grid))
            g->setCell(t.column, t.row, QString::fromUtf8(en ? t.en : t.ru));
    for (const LayerRows& l : LAYER_ROWS)
        for (int k = 1; k <= 8; ++k)
            form.StringGrid1->setCell(0, l.firstRow + k - 1,
                                      QString::fromUtf8(en ? l.en : l.ru).arg(k));
    // The Russian headers of the first two pairs are the same text; the
    // second pair belongs to the latitude row, so the chosen row tells them
    // apart.
    StringGrid* g = form.StringGrid7;
    const QString h1 = g->cell(1, 0), h2 = g->cell(2, 0);
    const HeaderPair* shown = &COORDINATE_HEADERS[0];
    for (const HeaderPair& p : COORDINATE_HEADERS) {
        if (h1 == QString::fromUtf8(p.en1) && h2 == QString::fromUtf8(p.en2)) {
            shown = &p;
            break;
        }
        if (h1 == QString::fromUtf8(p.ru1) && h2 == QString::fromUtf8(p.ru2)) {
            shown =
                &p == &COORDINATE_HEADERS[0] && g->currentRow() == 4 ? &COORDINATE_HEADERS[1] : &p;
            break;
        }
    }
    g->setCell(1, 0, QString::fromUtf8(en ? shown->en1 : shown->ru1));
    g->setCell(2, 0, QString::fromUtf8(en ? shown->en2 : shown->ru2));
}

} // namespace

void TForm1::AARR() {
    const bool en = english();
    // Lists are rewritten item by item; their selections must survive.
    QList<QComboBox*> lists = findChildren<QComboBox*>();
    std::vector<int> selected;
    selected.reserve(std::size_t(lists.size()));
    for (QComboBox* c : lists) selected.push_back(c->currentIndex());
    const bool wasRestoring = restoring_;
    restoring_ = true;

    for (const Row& r : CATALOGUE) {
        QWidget* w = findChild<QWidget*>(r.control);
        if (!w) continue;
        const QString text = QString::fromUtf8(en ? r.en : r.ru);
        switch (r.kind) {
        case Kind::Hint:
            w->setToolTip(text);
            break;
        case Kind::Caption:
            if (auto* l = qobject_cast<QLabel*>(w))
                l->setText(text);
            else if (auto* b = qobject_cast<QAbstractButton*>(w))
                b->setText(text);
            break;
        case Kind::Item:
            if (auto* c = qobject_cast<QComboBox*>(w); c && r.index < c->count())
                c->setItemText(r.index, text);
            break;
        }
    }

    applyTableTitles(*this, en);
    // A collapsed table panel is as wide as its title.
    for (QLabel* l : {Label_CRD, Label_TVSL, Label_GDRF, Label_KRT}) l->adjustSize();

    // Captions that name a state.
    CheckBox1->setText(en ? "Russian" : "Английский");
    CheckBox52->setText(CheckBox52->isChecked()
                            ? (en ? "Calculate to the Profile" : "Обработка до Профиля")
                            : (en ? "Calculate All" : "Обработать Всё"));
    const int family = ComboBox18->currentIndex() > 1 ? 1 : 0;
    for (int i = 0; i < 8 && i < ComboBox28->count(); ++i)
        ComboBox28->setItemText(
            i, QString::fromUtf8(en ? COLOURS_EN[family][i] : COLOURS_RU[family][i]));

    for (qsizetype i = 0; i < lists.size(); ++i)
        lists[i]->setCurrentIndex(selected[std::size_t(i)]);
    restoring_ = wasRestoring;
}

} // namespace tesk
