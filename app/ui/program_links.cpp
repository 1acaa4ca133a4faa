#include "app/ui/program_links.h"

QString HomePage() {
    return QStringLiteral(VESPERA_HOME_PAGE);
}
