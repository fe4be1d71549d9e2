// `render`: the radargram as the window draws it, or the overview of the
// whole survey, written as PNG, JPEG or BMP through Qt's image writers.

#include "cli/cli_internal.h"

#include "commands/file_commands.h"
#include "display/radargram.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>
#include <ostream>
#include <unistd.h>

namespace tesk::cli {

void ensureGuiApplication() {
    if (QGuiApplication::instance()) return;
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qgetenv("XDG_RUNTIME_DIR").isEmpty()) {
        // The toolkit wants a private runtime directory; batch runs often have none.
        const QByteArray dir =
            QDir::tempPath().toUtf8() + "/tesk-runtime-" + QByteArray::number(getuid());
        QDir().mkpath(QString::fromUtf8(dir));
        QFile::setPermissions(QString::fromUtf8(dir), QFileDevice::ReadOwner |
                                                          QFileDevice::WriteOwner |
                                                          QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    static int argc = 1;
    static char name[] = "tesk-cli";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
}

namespace {

QImage radargramPicture(ProfileStore& store, const ViewState& view, const RenderRequest& r) {
    // As far as the window could scroll: a long survey lets it reach its last screen.
    store.viewStart = std::min(r.start, lastViewStart(store));
    static Radargram radargram; // large raster: one for the run
    radargram.loadSettings(store);
    GRAF(radargram, store, processingFromHeader(store.header), view.ViewOrigin);
    if (!r.overlay)
        return radargram.picture.copy(view.ViewOrigin.x, view.ViewOrigin.y, 2 * VIEW_FRAMES,
                                      SAMPLES_PER_FRAME);
    DrawView(radargram.overlay, store, view, overlaySettingsFromHeader(store));
    QImage image = radargram.picture.copy();
    QPainter p(&image);
    p.drawImage(0, 0, radargram.overlay);
    return image;
}

// Written beside the target and renamed over it only when whole.
int savePicture(const QImage& image, const std::string& path, const std::string& format,
                std::ostream& err) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        err << "ERROR of creation of a file!\n"
            << "tesk-cli: cannot create " << path << ": " << file.errorString().toStdString()
            << '\n';
        return 1;
    }
    QImageWriter writer(&file, QByteArray::fromStdString(format));
    if (!writer.write(image)) {
        err << "tesk-cli: the picture could not be written to " << path << ": "
            << writer.errorString().toStdString() << '\n';
        file.cancelWriting();
        return 1;
    }
    if (!file.commit()) {
        err << "tesk-cli: the picture could not be written to " << path << ": "
            << file.errorString().toStdString() << '\n';
        return 1;
    }
    return 0;
}

} // namespace

std::string pictureFormatFor(const std::string& path) {
    if (endsWithExtension(path, ".png")) return "PNG";
    if (endsWithExtension(path, ".jpg") || endsWithExtension(path, ".jpeg")) return "JPEG";
    if (endsWithExtension(path, ".bmp")) return "BMP";
    return {};
}

int render(ProfileStore& store, const ViewState& view, const RenderRequest& r, std::ostream& err) {
    ensureGuiApplication();
    const std::string format = pictureFormatFor(r.out);
    if (!QImageWriter::supportedImageFormats().contains(
            QByteArray::fromStdString(format).toLower())) {
        err << "tesk-cli: this build of Qt cannot write " << format << " pictures\n";
        return 1;
    }
    // A view that starts after the last frame with data would show nothing.
    const int last = lastFrameWithData(store);
    if (last < 0) {
        err << "tesk-cli: the survey holds no frame with data\n";
        return 1;
    }
    if (!r.whole && r.start > last) {
        err << "tesk-cli: --start " << r.start
            << " lies beyond the survey: its last frame with data is " << last << '\n';
        return 2;
    }
    const QImage image = r.whole ? renderOverview(store, overviewSettingsFromStore(store, r.width))
                                 : radargramPicture(store, view, r);
    return savePicture(image, r.out, format, err);
}

} // namespace tesk::cli
