#include "dialogs/frmCallback.h"

#include <QAction>
#include <QMenu>

#include "platform/qt/WindowTestSupport.h"

namespace kestrelon {
namespace {

using CallbackTest = test::WindowTest;

TEST_F(CallbackTest, EachMenuItemCallsItsOperation) {
    std::vector<std::string> calls;
    frmCallback callback(app_);
    // Until the editor sets its operations, the items do nothing.
    callback.mnuEdit->trigger();
    callback.onAdd = [&] { calls.push_back("add"); };
    callback.onEdit = [&] { calls.push_back("edit"); };
    callback.onRename = [&] { calls.push_back("rename"); };
    callback.onDelete = [&] { calls.push_back("delete"); };
    EXPECT_EQ(callback.mnuPopup->actions(),
              (QList<QAction*>{callback.mnuAdd, callback.mnuEdit, callback.mnuRename,
                               callback.mnuDelete}));
    callback.mnuDelete->trigger();
    callback.mnuAdd->trigger();
    callback.mnuRename->trigger();
    callback.mnuEdit->trigger();
    EXPECT_EQ(calls, (std::vector<std::string>{"delete", "add", "rename", "edit"}));
}

TEST_F(CallbackTest, UnloadingTheWindowRemovesWhatHangsOnIt) {
    int unloads = 0;
    {
        frmCallback callback(app_);
        callback.onUnload = [&] { ++unloads; };
        EXPECT_EQ(unloads, 0);
    }
    EXPECT_EQ(unloads, 1);
}

TEST_F(CallbackTest, MenuItemsSpeakTheLanguageInUse) {
    UseLanguage("Deutsch", "addconnection=Verbindung hinzufügen\ndeleteconnection=Löschen\n");
    frmCallback callback(app_);
    EXPECT_EQ(callback.mnuAdd->text(), "Verbindung hinzufügen");
    EXPECT_EQ(callback.mnuDelete->text(), "Löschen");
    EXPECT_EQ(callback.mnuEdit->text(), "Edit Connection");
}

}  // namespace
}  // namespace kestrelon
