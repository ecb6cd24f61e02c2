#include "browser/database_error_box.h"

#include "common/prompt.h"
#include "common/resstrings.h"
#include "interface/qvif_port.h"

namespace browser {

void ReportDatabaseError(const DatabaseError& e, QvifPort* port)
{
    if (const auto* inUse = dynamic_cast<const DatabaseInUseError*>(&e)) {
        if (port)
            port->AddLog(inUse->Detail());
        MsgBox(inUse->Message(), MsgButtons::Ok, MsgIcon::Critical, GetResString(5355));
        return;
    }
    MsgBox(GetResString(5800, e.Message()), MsgButtons::Ok, MsgIcon::Critical, GetResString(5355));
}

} // namespace browser
