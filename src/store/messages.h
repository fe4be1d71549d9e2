#pragma once
// A message box as the domain describes it: icon, buttons and the text in
// both languages. The shell shows the wording of the language selected at
// the moment it is shown; batch front ends print the English one.

#include <string>

namespace tesk {

enum class Icon { Warning, Error, Information, Question };
enum class Buttons { Ok, YesNo, YesNoCancel, YesNoNoToAll };
enum class Answer { Ok, Yes, No, Cancel, NoToAll };

struct Message {
    Icon icon = Icon::Warning;
    Buttons buttons = Buttons::Ok;
    std::string ru;
    std::string en;
    const std::string& text(bool english) const { return english ? en : ru; }
};

// Messages of the survey files and the open, save and close commands. A line
// break inside a message is "\r".
namespace msg {
Message fileOpenFailed(const std::string& name);      // E001 / E020
Message coordFileOpenFailed(const std::string& name); // E001
Message emptyFile(const std::string& code, const std::string& name);
Message gemMagic(const std::string& name);   // E026
Message gemVersion(const std::string& name); // E027
Message geoMagic(const std::string& name);   // E022 <GEO>
Message gebMagic(const std::string& name);   // E022 <MIRN>
Message optMagic(const std::string& name);   // E026 <OPT>
Message unknownStructure();                  // E027 after a refused load
Message tooManyFramesE034();
Message tooManyFramesOpen();
Message reliefMaxExceeded();
Message createFailedE030();
Message createFailedExport();
Message writeFailed(const std::string& name, const std::string& reason);
Message overwrite(const std::string& name);
Message confirmClose();
Message offerSave();
Message notYetSupported(const std::string& name, const std::string& what);
Message readFault(const std::string& name);
} // namespace msg

} // namespace tesk
