#include "settings/daybooksettings.h"

#include "settings/settingskeys.h"

DaybookSettings::DaybookSettings() {
    for (const settingskeys::Key& k : settingskeys::all())
        settingskeys::assign(k, *this, settingskeys::readDefault(k, {}));
}
