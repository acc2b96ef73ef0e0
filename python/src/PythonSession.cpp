#include "PythonSession.h"

#include <pybind11/pybind11.h>

#include <QGuiApplication>
#include <memory>

#include "msarender/picture/HeadlessSession.h"

namespace {

// Qt keeps argc and argv for the application's life.
struct Session {
    HeadlessSession headless;
    int argc = 1;
    char name[10] = "msarender";
    char* argv[2] = {name, nullptr};
    QGuiApplication application{argc, argv};
};

std::unique_ptr<Session>& TheSession() {
    static std::unique_ptr<Session> session;
    return session;
}

}  // namespace

void EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    TheSession() = std::make_unique<Session>();
    // Ended when the interpreter exits, while Qt's own globals still live: at the process's end, after
    // them, the application's destructor would use what they held.
    pybind11::module_::import("atexit").attr("register")(
        pybind11::cpp_function([] { TheSession().reset(); }));
}
