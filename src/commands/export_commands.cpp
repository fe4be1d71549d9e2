#include "commands/export_commands.h"

#include "commands/bitmap_export.h"
#include "commands/text_export.h"
#include "store/atomic_file.h"

#include <QBuffer>
#include <QByteArray>

#include <algorithm>
#include <cctype>

namespace tesk {

ExportKind exportKindFor(const std::string& path) {
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return ExportKind::None;
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == ".txt") return ExportKind::Text;
    if (ext == ".bmp") return ExportKind::Bitmap;
    if (ext == ".sgy" || ext == ".segy") return ExportKind::Segy;
    return ExportKind::None;
}

ExportResult exportSurveyFile(ProfileStore& s, const std::string& path, const BatchExport& b,
                              Interaction& ui) {
    const ExportKind kind = exportKindFor(path);
    if (kind == ExportKind::None) {
        ui.show(msg::notYetSupported(path, "?"));
        return {};
    }
    std::string error;
    auto sink = AtomicFileSink::create(path, error);
    if (!sink) {
        ui.show(msg::createFailedExport());
        ExportResult failed;
        failed.outcome = ExportOutcome::CreateFailed;
        return failed;
    }
    ui.passStarted(Interaction::Pass::Save, path);
    ExportResult r;
    switch (kind) {
    case ExportKind::Text:
        r = writeTextTable(*sink, s, exportSettingsFromStore(s, b.variant, b.decimalSeparator), ui);
        break;
    case ExportKind::Bitmap: {
        BitmapSettings settings = bitmapSettingsFromStore(s);
        settings.singleFile = b.wholeSurvey;
        r = writeBitmap(*sink, s, settings, ui);
        break;
    }
    case ExportKind::Segy: {
        SegyWriteOptions o = segyOptionsFromStore(s);
        o.format = b.segyFormat;
        r = writeSegyFile(*sink, s, o, ui);
        break;
    }
    case ExportKind::None:
        break;
    }
    if (r.outcome == ExportOutcome::Written && !sink->commit(error))
        r.outcome = ExportOutcome::WriteFailed;
    ui.passFinished();
    if (r.outcome == ExportOutcome::WriteFailed)
        ui.show(msg::writeFailed(path, error.empty() ? sink->lastError() : error));
    return r;
}

bool writeOverviewFile(const ProfileStore& s, const std::string& path, int width,
                       std::string& error) {
    const QImage image = renderOverview(s, overviewSettingsFromStore(s, width));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        error = "the picture could not be encoded";
        return false;
    }
    auto sink = AtomicFileSink::create(path, error);
    if (!sink) return false;
    if (!sink->write(reinterpret_cast<const uint8_t*>(png.constData()), std::size_t(png.size()))) {
        error = sink->lastError();
        return false;
    }
    return sink->commit(error);
}

} // namespace tesk
