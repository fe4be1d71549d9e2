#include "commands/export_commands.h"

#include "commands/file_kinds.h"
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
                              Interaction& ui, std::string* failure) {
    const FileKind* row = exportKindFor(path) == ExportKind::None ? nullptr : writeKindFor(path);
    if (!row) {
        ui.show(msg::notYetSupported(path, "?"));
        return {};
    }
    // The write step of the save command, with the survey's stored settings.
    SaveSettings settings;
    settings.variant = b.variant;
    settings.singleFile = b.wholeSurvey;
    settings.segyInt16 = b.segyFormat == SegySampleFormat::Int16;
    settings.decimalSeparator = b.decimalSeparator;
    SaveRequest q{s, path, ui, settings};
    row->write(q);
    if (failure) *failure = q.failure;
    return q.exported;
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
