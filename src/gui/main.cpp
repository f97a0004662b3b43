// harlune: the desktop program.
//   harlune [PROGRAM-FOLDER]
#include "base/datetime.h"
#include "gui/TMainform.h"
#include "gui/qt_dialogs.h"
#include "platform/instance_lock.h"
#include "platform/program_folder.h"
#include "platform/scripted_dialogs.h"

#include <QApplication>

#include <memory>

using namespace harlune;

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Harlune");

    std::unique_ptr<Dialogs> dialogs = dialogsFromEnvironment();
    if (!dialogs)
        dialogs = std::make_unique<QtDialogs>();

    // One instance per user: a second one says so and ends before any window exists.
    InstanceLock lock;
    if (!lock.tryAcquire()) {
        dialogs->warning(kAlreadyRunningText);
        return 0;
    }

    const std::string folder = resolveProgramFolder(argc > 1 ? argv[1] : "", argv[0]);
    SystemClock clock;
    TMainform mainform(folder, *dialogs, clock);
    if (auto* qt = dynamic_cast<QtDialogs*>(dialogs.get()))
        qt->setParent(&mainform);
    if (mainform.created())
        mainform.show();
    return QApplication::exec();
}
