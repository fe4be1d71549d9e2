// The caption catalogue of the language switch: every hint, caption and list
// item of the window's controls in Russian and in English, the captions that
// name a state, the colour-count list that follows the amplitude form, and the
// places that renew the captions.

#include "window_fixture.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLineEdit>
#include <vector>

namespace tesk::testing {
namespace {

enum class Kind { Hint, Caption, Item };

struct Expected {
    const char* control;
    Kind kind;
    int index; // list item; -1 for hints and captions
    const char* ru;
    const char* en; // nullptr: the English wording is the program's own
};

// clang-format off
const Expected CATALOGUE[] = {
    // Hints of the command bar and its read-outs.
    {"SpeedButton1", Kind::Hint, -1, "Открыть файл", "Open File"},
    {"SpeedButton3", Kind::Hint, -1, "Сохранить файл", "Save File"},
    {"SpeedButton4", Kind::Hint, -1, "Закрыть программу", "Close Program"},
    {"SpeedButton5", Kind::Hint, -1, "Показать профиль", nullptr},
    {"SpeedButton6", Kind::Hint, -1, "Показать рельеф профиля", "Show a relief of a profile"},
    {"SpeedButton7", Kind::Hint, -1, "Плоскости сечения по координатам X,Y,T.", "Plane section of the coordinates X,Y,T."},
    {"SpeedButton8", Kind::Hint, -1, "Профиль в 3D", nullptr},
    {"SpeedButton9", Kind::Hint, -1, "3D разрез профилей", nullptr},
    {"SpeedButton10", Kind::Hint, -1, "Опции файла", "Options of a file"},
    {"SpeedButton11", Kind::Hint, -1, "Вкл. таблицу Координат", nullptr},
    {"SpeedButton12", Kind::Hint, -1, "Псевдо-амплитудный разрез по профилям", nullptr},
    {"SpeedButton13", Kind::Hint, -1, "Перевернуть профиль зеркально", "Invert mirror a profile"},
    {"SpeedButton14", Kind::Hint, -1, "Сдвинуть профиль вверх", "Move profile to up"},
    {"SpeedButton15", Kind::Hint, -1, "Измерить скорость в грунте", "Measure velocity in a soil"},
    {"SpeedButton16", Kind::Hint, -1, "Измерить скорость в грунте", "Measure velocity in a soil"},
    {"SpeedButton17", Kind::Hint, -1, "Предыдущий кадр", "Previous frame"},
    {"SpeedButton18", Kind::Hint, -1, "Следующий кадр", "Following frame"},
    {"SpeedButton20", Kind::Hint, -1, nullptr, nullptr},
    {"SpeedButton21", Kind::Hint, -1, nullptr, nullptr},
    {"SpeedButton22", Kind::Hint, -1, nullptr, nullptr},
    {"SpeedButton23", Kind::Hint, -1, nullptr, nullptr},
    {"SpeedButton24", Kind::Hint, -1, nullptr, nullptr},
    {"SpeedButton25", Kind::Hint, -1, nullptr, nullptr},
    {"SpeedButton26", Kind::Hint, -1, "Сдвинуть кадры Вправо", "Move frames to Right"},
    {"SpeedButton27", Kind::Hint, -1, "Сдвинуть кадры Влево", "Move frames to Left"},
    // The English hint ends in a blank.
    {"SpeedButton28", Kind::Hint, -1, "Копировать кадры в буфер обмена", "Copy frames in clipboard "},
    {"SpeedButton29", Kind::Hint, -1, "Вставить кадры из буфера обмена", "Paste frames from clipboard"},
    {"SpeedButton30", Kind::Hint, -1, "Удалить кадр(ы)", "Delete frame(s)"},
    {"SpeedButton31", Kind::Hint, -1, "Изменить файл по оси X", "To change a file on X -axis"},
    {"SpeedButton32", Kind::Hint, -1, "Изменить файл по оси Y", "To change a file on Y -axis"},
    {"SpeedButton35", Kind::Hint, -1, "Лупа", "Magnifier"},
    {"SpeedButton101", Kind::Hint, -1, "Карандаш", nullptr},
    {"MaskEdit1", Kind::Hint, -1, "Текущий кадр", "Current frame"},
    {"StaticText1", Kind::Hint, -1, "X без учета шага профиля", nullptr},
    {"StaticText2", Kind::Hint, -1, "X с учетом шага профиля", nullptr},
    {"StaticText3", Kind::Hint, -1, "Глубина профиля в NS", nullptr},
    {"StaticText4", Kind::Hint, -1, "Глубина профиля в M", nullptr},
    {"StaticText5", Kind::Hint, -1, nullptr, nullptr},
    {"StaticText6", Kind::Hint, -1, nullptr, nullptr},
    // Captions of check boxes, labels and panels.
    {"CheckBox2", Kind::Caption, -1, "Уровень Нуля", nullptr},
    {"CheckBox3", Kind::Caption, -1, "Сетка", "Grid"},
    {"CheckBox4", Kind::Caption, -1, "Функция", nullptr},
    {"CheckBox6", Kind::Caption, -1, "Линия профиля 2Д", nullptr},
    {"CheckBox11", Kind::Caption, -1, "Параметры", "Parameters"},
    {"CheckBox12", Kind::Caption, -1, "Фильтры", "Filters"},
    {"CheckBox13", Kind::Caption, -1, "3Д : 2Д", "3D : 2D"},
    {"CheckBox14", Kind::Caption, -1, "Границы", "Borders"},
    {"CheckBox21", Kind::Caption, -1, "Фон", nullptr},
    {"CheckBox22", Kind::Caption, -1, "Инверсия", nullptr},
    {"CheckBox23", Kind::Caption, -1, "Выбрать значение амплитуды", nullptr},
    {"CheckBox59", Kind::Caption, -1, "Сложение", nullptr},
    {"CheckBox32", Kind::Caption, -1, "Кратник", nullptr},
    {"CheckBox33", Kind::Caption, -1, "Показать слои", nullptr},
    {"CheckBox34", Kind::Caption, -1, "Показать скважины", nullptr},
    {"Label1", Kind::Caption, -1, "Пожалуйста подождите, идет загрузка и обработка файла", "Please wait; there is a loading and processing of a file"},
    // The "с" of the Russian velocity unit is Cyrillic.
    {"Label10", Kind::Caption, -1, "Vgr = \xd1\x81m/1ns", nullptr},
    {"Label11", Kind::Caption, -1, "Глубина профиля", nullptr},
    {"Label12", Kind::Caption, -1, "Шаг профиля  см", nullptr},
    {"Label13", Kind::Caption, -1, "D между антенн", nullptr},
    {"Label14", Kind::Caption, -1, nullptr, nullptr},
    {"Label15", Kind::Caption, -1, "Шаг по глубине см", nullptr},
    {"Label16", Kind::Caption, -1, "Шаг просмотра ", nullptr},
    {"Label20", Kind::Caption, -1, "Фильтр 1", "Filter 1"},
    {"Label21", Kind::Caption, -1, "Фильтр 2", nullptr},
    {"Label22", Kind::Caption, -1, "Количество цветов", "Quantity of color"},
    {"Label23", Kind::Caption, -1, nullptr, nullptr},
    {"Label24", Kind::Caption, -1, nullptr, nullptr},
    {"Label26", Kind::Caption, -1, nullptr, nullptr},
    {"Label41", Kind::Caption, -1, nullptr, nullptr},
    {"Label43", Kind::Caption, -1, nullptr, nullptr},
    {"Label51", Kind::Caption, -1, "Метод обработки 3D", nullptr},
    {"Label52", Kind::Caption, -1, "D между профилями", "D between profiles"},
    {"Label54", Kind::Caption, -1, "Сечения", nullptr},
    {"Label61", Kind::Caption, -1, nullptr, nullptr},
    {"Label80", Kind::Caption, -1, "П А Н Е Л Ь   3D", nullptr},
    {"Label_OPTION", Kind::Caption, -1, "П А Н Е Л Ь   О П Ц И Й", " P A N E L  O P T I O N S"},
    {"Label_CRD", Kind::Caption, -1, " К О О Р Д И Н А Т Ы     И З М Е Р Е Н И Я", " C O O R D I N A T E S     M E A S U R E M E N T"},
    // The coordinates panel.
    {"CheckBox70", Kind::Hint, -1, "Вкл. Абсолютную Высоту рельефа местности", "To Enabled the Absolute Height of a land relief"},
    {"MaskEdit2", Kind::Hint, -1, "Абсолютная Высота рельефа местности", "Absolute Height of a land relief"},
    {"CheckBox71", Kind::Caption, -1, "Координаты", "Coordinates"},
    {"CheckBox72", Kind::Caption, -1, "Высота Рельефа", "Height Relief"},
    {"CheckBox73", Kind::Caption, -1, "Линия рельефа", "Relief Line"},
    {"CheckBox75", Kind::Caption, -1, "Корректировать", "Adjustment"},
    {"RadioGroup_Lat", Kind::Caption, -1, " Широта ", " Latitude "},
    {"RadioGroup_Lon", Kind::Caption, -1, " Долгота ", " Longitude "},
    {"SpeedButton71", Kind::Caption, -1, "Пересчитать", "ReCalculate"},
    {"SpeedButton72", Kind::Caption, -1, "Корректировать", "Adjustment"},
    {"SpeedButton73", Kind::Caption, -1, "Сгладить Рельеф", "Smooth"},
    {"SpeedButton_GPS_WPT", Kind::Caption, -1, "Синхронизировать точки", "Synchronize points"},
    {"SpeedButton_GPS_TRK", Kind::Caption, -1, "Синхронизировать Путь", "Synchronize the path"},
    {"Label_GPS_2", Kind::Caption, -1, nullptr, nullptr},
    {"Label_GPS_3", Kind::Caption, -1, nullptr, nullptr},
    {"ComboBox_CRD", Kind::Item, 0, "Файл по Координатам", "File on Coordinates"},
    {"ComboBox_CRD", Kind::Item, 1, "Профиль по Маркерам", "Profile on Markers"},
    {"ComboBox_CRD", Kind::Item, 2, "До Маркера", "To the Marker"},
    {"ComboBox_CRD", Kind::Item, 3, "По Шагу профиля", "In Step profile"},
    {"Label_TVSL", Kind::Caption, -1, " Т А Б Л И Ц А   С К О Р О С Т Е Й   И   Г Л У Б И Н ", nullptr},
    {"Label_GDRF", Kind::Caption, -1, "Г О Д О Г Р А Ф", nullptr},
    {"Label_KRT", Kind::Caption, -1, "К Р А Т Н И К", "E C H O"},
    {"Panel241", Kind::Caption, -1, "Исходный Цвет", nullptr},
    {"Panel51", Kind::Caption, -1, " Амплитуда", nullptr},
    // The 3D panel, the section markers and the division into profiles.
    {"CheckBox61", Kind::Caption, -1, "Грань Куба", nullptr},
    {"CheckBox63", Kind::Caption, -1, "Точки", nullptr},
    {"CheckBox64", Kind::Caption, -1, "Курсор", nullptr},
    {"CheckBox66", Kind::Caption, -1, "Слои", nullptr},
    {"RadioGroup1_0", Kind::Caption, -1, "  План XY  ", nullptr},
    {"RadioGroup1_1", Kind::Caption, -1, "  План TX", nullptr},
    {"RadioGroup1_2", Kind::Caption, -1, "  План TY", nullptr},
    {"RadioGroup2_0", Kind::Caption, -1, "  1  Гранина", nullptr},
    {"RadioGroup2_1", Kind::Caption, -1, "  2  Граница", nullptr},
    {"RadioGroup2_6", Kind::Caption, -1, "  7  Граница", nullptr},
    {"CheckBox_Shape", Kind::Caption, -1, "Точки сечения", nullptr},
    {"SpeedButton_GProf", Kind::Hint, -1, "Запись кадра в профиль", nullptr},
    {"CheckBox_GProf_1", Kind::Caption, -1, "начало профиля", nullptr},
    {"CheckBox_GProf_2", Kind::Caption, -1, "красный маркер", nullptr},
    {"CheckBox_GProf_3", Kind::Caption, -1, "синий маркер", nullptr},
    {"CheckBox_GProf_4", Kind::Caption, -1, "черный маркер", nullptr},
    // List items, replaced in place.
    {"ComboBox10", Kind::Item, 0, "  Годограф", nullptr},
    {"ComboBox16", Kind::Item, 0, "  20 Кадров", "  20 Frames"},
    {"ComboBox16", Kind::Item, 1, "  40 Кадров", "  40 Frames"},
    {"ComboBox16", Kind::Item, 2, " 100 Кадров", " 100 Frames"},
    {"ComboBox16", Kind::Item, 3, " 200 Кадров", " 200 Frames"},
    {"ComboBox16", Kind::Item, 4, " 300 Кадров", " 300 Frames"},
    {"ComboBox16", Kind::Item, 5, " 400 Кадров", " 400 Frames"},
    {"ComboBox16", Kind::Item, 6, " 500 Кадров", " 500 Frames"},
    {"ComboBox16", Kind::Item, 7, " Профиль", " Profile"},
    {"ComboBox17", Kind::Item, 0, " Выключить маркеры", " Switch off Marks"},
    {"ComboBox17", Kind::Item, 1, " Показать маркеры", " Show Marks"},
    {"ComboBox17", Kind::Item, 2, " Изменить маркер", " Change Mark"},
    {"ComboBox17", Kind::Item, 3, " Повысить статус", " Raise Mark status"},
    {"ComboBox17", Kind::Item, 4, " Понизить статус до 1", " Lower Mark status 1"},
    {"ComboBox17", Kind::Item, 5, " Понизить статус до 0", " Lower Mark status 0"},
    {"ComboBox17", Kind::Item, 6, " Удалить все маркеры", " Delete all Marks"},
    {"ComboBox18", Kind::Item, 0, " Амплитудный /0", " Amplitude form /0"},
    {"ComboBox18", Kind::Item, 1, " Амплитудный", " Amplitude form"},
    {"ComboBox18", Kind::Item, 2, " Производной функции", " Derivative of function"},
    {"ComboBox19", Kind::Item, 0, " Уровень Нуля", " Level of zero"},
    {"ComboBox19", Kind::Item, 1, " Усиления Амплитуды 1", " Magnify of amplitude 1"},
    {"ComboBox19", Kind::Item, 2, " Усиления Амплитуды 2", " Magnify of amplitude 2"},
    {"ComboBox20", Kind::Item, 0, " НЧ 1", " LF 1"},
    {"ComboBox20", Kind::Item, 1, " ВЧ 1", " HF 1"},
    {"ComboBox20", Kind::Item, 2, " НЧ 2", " LF 2"},
    {"ComboBox20", Kind::Item, 3, " ВЧ 2", " HF 2"},
    {"ComboBox29", Kind::Item, 0, " Линейный", " Linear"},
    {"ComboBox29", Kind::Item, 1, " Логарифм 1-0", " Logarithm 1-0"},
    {"ComboBox29", Kind::Item, 2, " Логарифм 2-0", " Logarithm 2-0"},
    {"ComboBox29", Kind::Item, 3, " Логарифм 2-1", " Logarithm 2-1"},
    {"ComboBox29", Kind::Item, 4, " Логарифм 2-2", " Logarithm 2-2"},
    {"ComboBox40", Kind::Item, 0, " Нет сложения", " No addition"},
    {"ComboBox40", Kind::Item, 1, " 2 профиля", " 2 Profiles"},
    {"ComboBox40", Kind::Item, 2, " 3 профиля", " 3 Profiles"},
    {"ComboBox40", Kind::Item, 3, " 4 профиля", " 4 Profiles"},
    {"ComboBox41", Kind::Item, 0, "  Сложение", "  Addition"},
    {"ComboBox41", Kind::Item, 1, "  Умножение", "  Multiply"},
    {"ComboBox41", Kind::Item, 2, "  Вычетание", "  Subtract"},
    // Item 0 has a Cyrillic "Х", item 2 a Latin "X".
    {"ComboBox51", Kind::Item, 0, "Линейный  \xd0\xa5p", " Linear Xp"},
    {"ComboBox51", Kind::Item, 1, "Линейный  Yp", " Linear Yp"},
    {"ComboBox51", Kind::Item, 2, "Линейный  X+Yp", " Linear Xp+Yp"},
    {"ComboBox51", Kind::Item, 3, "По вектору V", " On vector  V"},
    {"ComboBox51", Kind::Item, 4, "По радиусу R", " On radius  R"},
    // Items 0 and 1 begin with a Latin "C", items 2 and 3 with a Cyrillic "С".
    {"ComboBox54", Kind::Item, 0, " C\xd0\xb5\xd1\x87\xd0\xb5\xd0\xbd\xd0\xb8\xd0\xb5 T", nullptr},
    {"ComboBox54", Kind::Item, 1, " C\xd0\xb5\xd1\x87\xd0\xb5\xd0\xbd\xd0\xb8\xd0\xb5 T  X ", nullptr},
    {"ComboBox54", Kind::Item, 2, " \xd0\xa1\xd0\xb5\xd1\x87\xd0\xb5\xd0\xbd\xd0\xb8\xd0\xb5 T  Y", nullptr},
    {"ComboBox54", Kind::Item, 3, " \xd0\xa1\xd0\xb5\xd1\x87\xd0\xb5\xd0\xbd\xd0\xb8\xd0\xb5 T  X  Y", nullptr},
    // The velocity methods, the snapping phase and the layers.
    {"ComboBox35", Kind::Item, 0, " 0 = Гипербола", nullptr},
    {"ComboBox35", Kind::Item, 1, " 1 = Годограф Р", nullptr},
    {"ComboBox35", Kind::Item, 2, " 2 = Годограф А", nullptr},
    {"ComboBox35", Kind::Item, 3, " 3 = Годограф В ", nullptr},
    {"ComboBox36", Kind::Item, 0, " Максимум", nullptr},
    {"ComboBox36", Kind::Item, 1, " Ноль", nullptr},
    {"ComboBox36", Kind::Item, 2, " Минимум", nullptr},
    {"ComboBox31", Kind::Item, 0, "Нет границ", nullptr},
    {"ComboBox31", Kind::Item, 1, " 1 слой", nullptr},
    {"ComboBox31", Kind::Item, 8, " 8 слой", nullptr},
    {"ComboBox62", Kind::Item, 0, "  Выборка       64", nullptr},
    {"ComboBox62", Kind::Item, 1, "  Усреднение 42", nullptr},
    {"ComboBox62", Kind::Item, 2, "  Накопление 24", nullptr},
    {"ComboBox63", Kind::Item, 0, " 1  Канал  Грубый", nullptr},
    {"ComboBox63", Kind::Item, 1, " 2  Канал  Точный", nullptr},
    {"ComboBox63", Kind::Item, 2, " 3  Канал  Сумма", nullptr},
};

// Colour-count list: forms 0 and 1 (Russian items 0 … 4 end in "*"), then
// the derivative form.
const char* const COLOURS_RU[2][8] = {
    {"  Все Цвета*", "  128 Цветов*", "    64 Цвета*", "    32 Цвета*", "    16 Цветов*",
     "    Ч/Б Шкала", "     1 Мин\\Макс", "     2 Мин\\Макс"},
    {"  Все Цвета", "  128 Цвета", "    64 Цвета", "    32 Цвета", "    16 Цветов",
     "      2 Цвета", "      1 Мин\\Макс", "      2 Мин\\Макс"}};
const char* const COLOURS_EN[2][8] = {
    {"  ALL Colors", "  128 Colors", "    64 Colors", "    32 Colors", "    16 Colors",
     "    B\\W Scale", "    1 Min\\MaX", "    2 Min\\MaX"},
    {"  ALL Colors", "  128 Colors", "    64 Colors", "    32 Colors", "    16 Colors",
     "      2 Colors", "      1 Min\\MaX", "      2 Min\\MaX"}};
// clang-format on

// Lists whose items the switch rewrites.
const char* const REWRITTEN_LISTS[] = {"ComboBox10", "ComboBox16", "ComboBox17", "ComboBox18",
                                       "ComboBox19", "ComboBox20", "ComboBox21", "ComboBox28",
                                       "ComboBox29", "ComboBox40", "ComboBox41", "ComboBox51",
                                       "ComboBox52", "ComboBox54", "ComboBox62", "ComboBox63",
                                       "ComboBox31", "ComboBox35", "ComboBox36", "ComboBox_CRD"};

class Captions : public WindowTest {
  protected:
    // The text a row of the catalogue applies to: a hint, a caption (a panel
    // shows its caption on its own label) or a list item.
    QString shown(const Expected& e) const {
        QWidget* w = form->findChild<QWidget*>(e.control);
        if (!w) {
            ADD_FAILURE() << e.control << " is not in the window";
            return {};
        }
        switch (e.kind) {
        case Kind::Hint:
            return w->toolTip();
        case Kind::Caption:
            if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
            if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
            if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
            if (auto* l = w->findChild<QLabel*>(QString(e.control) + "Caption")) return l->text();
            ADD_FAILURE() << e.control << " shows no caption";
            return {};
        case Kind::Item:
            if (auto* c = qobject_cast<QComboBox*>(w)) return c->itemText(e.index);
            ADD_FAILURE() << e.control << " is not a list";
            return {};
        }
        return {};
    }
    void setEnglish(bool on) {
        if (ui.CheckBox1->isChecked() != on) ui.CheckBox1->click();
        ASSERT_EQ(ui.CheckBox1->isChecked(), on);
    }
    QComboBox* list(const char* name) const { return form->findChild<QComboBox*>(name); }
};

std::string where(const Expected& e) {
    return std::string(e.control) + (e.index >= 0 ? " item " + std::to_string(e.index) : "") +
           (e.kind == Kind::Hint ? " hint" : "");
}

TEST_F(Captions, EveryCatalogueTextInBothLanguages) {
    // Russian, English and Russian again: each switch writes the whole
    // catalogue, whatever the texts were before.
    std::vector<QString> english;
    for (const bool en : {false, true, false}) {
        setEnglish(en);
        for (std::size_t i = 0; i < std::size(CATALOGUE); ++i) {
            const Expected& e = CATALOGUE[i];
            SCOPED_TRACE(where(e) + (en ? " (English)" : " (Russian)"));
            const QString text = shown(e);
            EXPECT_FALSE(text.isEmpty());
            const char* want = en ? e.en : e.ru;
            if (want) {
                EXPECT_EQ(text.toStdString(), want);
            }
            if (en) english.push_back(text);
        }
    }
    // Where only one wording is fixed, the other language still has its own.
    setEnglish(false);
    for (std::size_t i = 0; i < std::size(CATALOGUE); ++i) {
        SCOPED_TRACE(where(CATALOGUE[i]));
        EXPECT_NE(shown(CATALOGUE[i]), english[i]);
    }
}

TEST_F(Captions, StartUpShowsTheEnglishCatalogueNotTheDesignTexts) {
    EXPECT_TRUE(ui.CheckBox1->isChecked());
    for (const Expected& e : CATALOGUE) {
        if (!e.en) continue;
        SCOPED_TRACE(where(e));
        EXPECT_EQ(shown(e).toStdString(), e.en);
    }
}

TEST_F(Captions, LanguageBoxNamesTheOtherLanguage) {
    EXPECT_EQ(ui.CheckBox1->text().toStdString(), "Russian");
    setEnglish(false);
    EXPECT_EQ(ui.CheckBox1->text().toStdString(), "Английский");
    setEnglish(true);
    EXPECT_EQ(ui.CheckBox1->text().toStdString(), "Russian");
}

TEST_F(Captions, ProcessingScopeCaptionNamesItsState) {
    struct Case {
        bool checked, english;
        const char* caption;
    };
    const Case cases[] = {
        {true, true, "Calculate to the Profile"},
        {false, true, "Calculate All"},
        {true, false, "Обработка до Профиля"},
        {false, false, "Обработать Всё"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        setEnglish(c.english);
        if (ui.CheckBox52->isChecked() != c.checked) ui.CheckBox52->click();
        EXPECT_EQ(ui.CheckBox52->text().toStdString(), c.caption);
        // The switch itself chooses the caption by the state, too.
        setEnglish(!c.english);
        setEnglish(c.english);
        EXPECT_EQ(ui.CheckBox52->text().toStdString(), c.caption);
    }
}

TEST_F(Captions, PositionFormCaptionNamesItsState) {
    ui.Panel_CORD->show();
    ui.Panel_CORD->setEnabled(true);
    auto* form74 = form->findChild<QCheckBox*>("CheckBox74");
    ASSERT_NE(form74, nullptr);
    struct Case {
        bool checked, english;
        const char* caption;
    };
    const Case cases[] = {
        {true, true, "Geographical coordinates"},
        {false, true, "Rectanglar coordinates"},
        {true, false, "Географические коорд."},
        {false, false, "Прямоугольные коорд."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        setEnglish(c.english);
        if (form74->isChecked() != c.checked) form74->click();
        EXPECT_EQ(form74->text().toStdString(), c.caption);
        setEnglish(!c.english);
        setEnglish(c.english);
        EXPECT_EQ(form74->text().toStdString(), c.caption);
    }
}

TEST_F(Captions, ColourCountItemsFollowTheAmplitudeFormInBothLanguages) {
    QComboBox* colours = ui.ComboBox28;
    ASSERT_EQ(colours->count(), 8);
    for (const bool en : {true, false})
        for (const int form18 : {0, 1, 2, 1, 0}) {
            SCOPED_TRACE(std::string(en ? "English" : "Russian") + ", form " +
                         std::to_string(form18));
            setEnglish(en);
            ui.ComboBox18->setCurrentIndex(form18);
            const int family = form18 > 1 ? 1 : 0;
            ASSERT_EQ(colours->count(), 8);
            for (int i = 0; i < 8; ++i) {
                EXPECT_EQ(colours->itemText(i).toStdString(),
                          en ? COLOURS_EN[family][i] : COLOURS_RU[family][i])
                    << "item " << i;
                // Russian items 0 … 4 carry the star in forms 0 and 1 only.
                if (!en && i < 5) {
                    EXPECT_EQ(colours->itemText(i).endsWith('*'), family == 0);
                }
            }
            // The language switch keeps the form's list.
            setEnglish(!en);
            EXPECT_EQ(colours->itemText(5).toStdString(),
                      !en ? COLOURS_EN[family][5] : COLOURS_RU[family][5]);
        }
}

TEST_F(Captions, SwitchKeepsTheSelectionAndLengthOfEveryList) {
    // A selection other than the start item on every rewritten list; the
    // marker box stays clear of its bulk operations.
    std::vector<std::pair<QComboBox*, int>> chosen;
    std::vector<int> lengths;
    for (const char* name : REWRITTEN_LISTS) {
        QComboBox* c = list(name);
        if (!c) continue; // not in this window
        SCOPED_TRACE(name);
        ASSERT_GE(c->count(), 2);
        const int pick = std::string(name) == "ComboBox17" ? 2 : c->count() - 1;
        c->setCurrentIndex(pick == c->currentIndex() ? 0 : pick);
        chosen.emplace_back(c, c->currentIndex());
        lengths.push_back(c->count());
    }
    for (const bool en : {false, true, false}) {
        setEnglish(en);
        for (std::size_t i = 0; i < chosen.size(); ++i) {
            SCOPED_TRACE(chosen[i].first->objectName().toStdString());
            EXPECT_EQ(chosen[i].first->currentIndex(), chosen[i].second);
            EXPECT_EQ(chosen[i].first->count(), lengths[i]);
        }
    }
    // The view step and the marker mode, named.
    EXPECT_EQ(ui.ComboBox16->currentIndex(), 7);
    EXPECT_EQ(ui.ComboBox16->currentText().toStdString(), " Профиль");
    EXPECT_EQ(ui.ComboBox17->currentIndex(), 2);
    EXPECT_EQ(ui.ComboBox17->currentText().toStdString(), " Изменить маркер");
}

TEST_F(Captions, FrameLoadEndsWithTheCataloguesOfTheFilesLanguage) {
    clickOpen(writeSurvey(dir.file("ru.gem"), 60, /*english=*/false));
    ASSERT_FALSE(ui.CheckBox1->isChecked());
    // The loader tags the progress caption while reading; the load ends with
    // the catalogue text again.
    EXPECT_EQ(ui.Label1->text().toStdString(),
              "Пожалуйста подождите, идет загрузка и обработка файла");
    for (const Expected& e : CATALOGUE) {
        if (!e.ru) continue;
        // With a survey shown, Panel51 reads the code under the cursor.
        if (std::string(e.control) == "Panel51") continue;
        SCOPED_TRACE(where(e));
        EXPECT_EQ(shown(e).toStdString(), e.ru);
    }
    EXPECT_EQ(ui.CheckBox1->text().toStdString(), "Английский");
    // Appending frames to the survey renews the captions as well.
    ui.MaskEdit1->setToolTip("stale");
    clickOpen(writeSurvey(dir.file("more.gem"), 40, /*english=*/false), /*ctrl=*/true);
    EXPECT_EQ(ui.MaskEdit1->toolTip().toStdString(), "Текущий кадр");
    // An English file switches back.
    clickOpen(writeSurvey(dir.file("en.gem"), 60, /*english=*/true));
    EXPECT_TRUE(ui.CheckBox1->isChecked());
    EXPECT_EQ(ui.SpeedButton28->toolTip().toStdString(), "Copy frames in clipboard ");
    EXPECT_EQ(ui.CheckBox1->text().toStdString(), "Russian");
}

TEST_F(Captions, ProfileViewButtonRenewsTheCaptions) {
    clickOpen(writeSurvey(dir.file("a.gem"), 60));
    ASSERT_TRUE(ui.SpeedButton5->isEnabled());
    ui.MaskEdit1->setToolTip("stale");
    ui.Label_OPTION->setText("stale");
    ui.SpeedButton5->click();
    EXPECT_EQ(ui.MaskEdit1->toolTip().toStdString(), "Current frame");
    EXPECT_EQ(ui.Label_OPTION->text().toStdString(), " P A N E L  O P T I O N S");
}

TEST_F(Captions, AmplitudeFormChangeRenewsTheCaptions) {
    setEnglish(false);
    ui.Label22->setText("stale");
    ui.ComboBox18->setCurrentIndex(2);
    EXPECT_EQ(ui.Label22->text().toStdString(), "Количество цветов");
    EXPECT_EQ(ui.ComboBox28->itemText(5).toStdString(), "      2 Цвета");
}

} // namespace
} // namespace tesk::testing
