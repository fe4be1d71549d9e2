// Compiled as a domain source would be; it must not build (see CMakeLists.txt).
#include <QtWidgets/QWidget>

int widgetProbe() {
    return sizeof(QWidget) > 0 ? 1 : 0;
}
