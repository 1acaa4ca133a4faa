#include "app/ui/program_links.h"

#include "app/settings/visibility_rules.h"
#include "platform/help_viewer.h"

const char* HelpTopic(TPage Page) {
    switch (Page) {
    case TPage::First:
    case TPage::Last:
        return "settings.html";
    case TPage::General:
        break;
    }
    return kHelpContents;
}

QString HomePage() {
    return QStringLiteral(VESPERA_HOME_PAGE);
}
