#include "profiles/ProgramProfileReferences.h"

#include "core/AppCore.h"
#include "dialer/DialSessionController.h"

namespace kestrelon {

ProfileReferences ProfileReferencesOf(AppCore& app, DialSessionController* controller) {
    ProfileReferences refs;
    refs.selProfile = &app.SelProfile;
    refs.settings = &app.settings;
    refs.tasks = &app.tasks;
    if (controller != nullptr) {
        refs.sessionProfile = &controller->Session().CurProfile;
        refs.hangUpAll = [controller] { controller->HangUpAll(); };
    }
    return refs;
}

}  // namespace kestrelon
