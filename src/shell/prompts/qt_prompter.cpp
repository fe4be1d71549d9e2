#include "shell/prompts/qt_prompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>

namespace tesk {

namespace {
// X11 key symbols of the modifier keys, as the platform reports them.
constexpr quint32 XK_Shift_L = 0xffe1;
constexpr quint32 XK_Shift_R = 0xffe2;
constexpr quint32 XK_Control_L = 0xffe3;
constexpr quint32 XK_Control_R = 0xffe4;
} // namespace

QtPrompter::QtPrompter(QWidget* parent) : QObject(nullptr), parent_(parent) {
    qApp->installEventFilter(this);
}

bool QtPrompter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (!k->isAutoRepeat()) {
            const bool down = event->type() == QEvent::KeyPress;
            switch (k->nativeVirtualKey()) {
            case XK_Shift_L:
                keys_.leftShift = down;
                break;
            case XK_Shift_R:
                keys_.rightShift = down;
                break;
            case XK_Control_L:
                keys_.leftCtrl = down;
                break;
            case XK_Control_R:
                keys_.rightCtrl = down;
                break;
            default:
                if (k->key() == Qt::Key_Escape) keys_.escape = down;
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

Modifiers QtPrompter::modifiers() {
    // The toolkit knows whether Ctrl or Shift is down; the tracked key
    // events tell which side. A modifier pressed while another program had
    // the focus counts as the left one.
    const Qt::KeyboardModifiers now = QGuiApplication::queryKeyboardModifiers();
    Modifiers m = keys_;
    if (!(now & Qt::ControlModifier))
        m.leftCtrl = m.rightCtrl = false;
    else if (!m.leftCtrl && !m.rightCtrl)
        m.leftCtrl = true;
    if (!(now & Qt::ShiftModifier))
        m.leftShift = m.rightShift = false;
    else if (!m.leftShift && !m.rightShift)
        m.leftShift = true;
    return m;
}

void labelButtons(QMessageBox& box, bool english) {
    struct Caption {
        QMessageBox::StandardButton button;
        const char* en;
        const char* ru;
    };
    static const Caption CAPTIONS[] = {
        {QMessageBox::Yes, "Yes", "Да"},
        {QMessageBox::No, "No", "Нет"},
        {QMessageBox::Cancel, "Cancel", "Отмена"},
        {QMessageBox::Ok, "OK", "ОК"},
        {QMessageBox::NoToAll, "No to All", "Нет для всех"},
    };
    for (const Caption& c : CAPTIONS)
        if (QAbstractButton* b = box.button(c.button)) b->setText(english ? c.en : c.ru);
}

QStringList requestFilters(const FileRequest& request) {
    QStringList filters = dialogFilters(request.filter);
    if (request.allFiles) filters << (request.english ? "All files (*)" : "Все файлы (*)");
    return filters;
}

void QtPrompter::useLanguage(bool english) {
    if (!english && !russianLoaded_)
        russianLoaded_ =
            russian_.load("qtbase_ru", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    const bool want = !english && russianLoaded_;
    if (want == russianInstalled_) return;
    if (want)
        QCoreApplication::installTranslator(&russian_);
    else
        QCoreApplication::removeTranslator(&russian_);
    russianInstalled_ = want;
}

Answer QtPrompter::message(const Message& m, bool english) {
    useLanguage(english);
    QMessageBox box(parent_);
    switch (m.icon) {
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    QString text = QString::fromStdString(m.text(english));
    text.replace('\r', '\n');
    box.setText(text);
    box.setWindowTitle(QApplication::applicationName());
    switch (m.buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case Buttons::YesNoNoToAll:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::NoToAll);
        break;
    }
    labelButtons(box, english);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::NoToAll:
        return Answer::NoToAll;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        return m.buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

std::optional<std::string> QtPrompter::openFileName(const FileRequest& request) {
    useLanguage(request.english);
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(requestFilters(request));
    if (!request.folder.empty()) dialog.setDirectory(QString::fromStdString(request.folder));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<SaveChoice> QtPrompter::saveFileName(const FileRequest& request) {
    useLanguage(request.english);
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList filters = requestFilters(request);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.folder.empty()) dialog.setDirectory(QString::fromStdString(request.folder));
    if (!request.proposedName.empty())
        dialog.selectFile(QString::fromStdString(request.proposedName));
    // The overwrite question is the save command's own, in the operator's language.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    SaveChoice c;
    c.path = dialog.selectedFiles().first().toStdString();
    c.filterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (c.filterIndex < 1) c.filterIndex = 1;
    return c;
}

std::optional<QColor> QtPrompter::colour(const QColor& initial) {
    const QColor c = QColorDialog::getColor(initial, parent_);
    if (!c.isValid()) return std::nullopt;
    return c;
}

} // namespace tesk
