#include "app/unattended_install.h"

#include "app/composition/font_choice.h"
#include "app/report/failure_report.h"
#include "app/vespera_app.h"
#include "core/exception.h"

#include <exception>
#include <new>

bool RunUnattended(TVesperaApp& App, const TProgramPlaces& Places) {
    try {
        App.Start(Places, SortedFontFamilies(), false); // the unattended run composes them
        App.InstallUnattended();
        return true;
    } catch (const std::bad_alloc&) {
        ShowException(EOutOfMemory());
    } catch (const std::exception& E) {
        ShowException(E);
    }
    return false;
}
