#include "app/Startup.h"

#include "app/Frm_Face.h"
#include "app/Frm_Log.h"
#include "app/Frm_main.h"
#include "app/Pictures.h"
#include "app/PubFuns.h"
#include "app/TodoWindows.h"
#include "app/Wiring.h"
#include "data/Dmbasic.h"
#include "security/IdleLock.h"
#include "security/core/LoginGuard.h"
#include "session/PubVars.h"
#include "shell/App.h"
#include "shell/Dialogs.h"
#include "shell/Guard.h"

#include <QIcon>
#include <QTimer>
#include <memory>

int runHalvorra(HalvorraApp& app)
{
    wireWindows();
    QIcon icon;
    for (int side : {16, 32, 48, 256})
        icon.addPixmap(Pictures::appIcon(side));
    QApplication::setWindowIcon(icon);

    // The splash stays up, behind the login, until the main window exists.
    auto face = std::make_unique<TFrmFace>();
    face->show();
    face->repaint();
    QApplication::processEvents();

    // Spreadsheet import and export, and likely duplicates, in the registers' windows.
    wireSheetTools();

    // The data module, its connections still closed; the login opens them.
    auto dm = std::make_unique<Tdmbasic>();
    auto log = std::make_unique<TFrmLog>();

    int rc = 0;
    std::unique_ptr<TFrmmain> main;
    std::unique_ptr<IdleLock> idle;
    if (dialogs().exec(log.get()) == QDialog::Accepted) {
        CurUser.JSJM = computerName();
        CurUser.IPDZ = firstIPv4Address();
        handOverLogin(dmbasic->adoCntnfybase);
        main = std::make_unique<TFrmmain>();
        face.reset();
        main->show();
        // The program locks itself after the office's set time without input.
        idle = std::make_unique<IdleLock>(dmbasic->adoCntnfybase);
        guarded([&] {
            idle->setInterval(LoginGuard::idleMinutes(dmbasic->adoCntnfybase) * 60 * 1000);
        });
        // Once the main window is up: the day's reminders, when something is due.
        QTimer::singleShot(0, main.get(),
                           [w = main.get()] { guarded([w] { openTodoAfterLogin(w); }); });
        rc = app.exec();
        idle.reset();
    } else {
        face.reset();
    }

    // Shutdown: the login window, then the data module (main database first,
    // then the exchange database); the main window goes with the application.
    log.reset();
    dm.reset();
    main.reset();
    return rc;
}
