#pragma once

#include <QTemporaryDir>

namespace skorvin::test {

// Points the user's settings store at a temporary folder for the test program's life, so that
// what the windows keep for the user (placements, sizes, the folder last used) never reaches
// the real home folder nor lingers from one run to the next. Not Qt's test mode: its store is
// one folder in the home directory, kept from run to run.
class OwnSettingsStore {
public:
    OwnSettingsStore()
    {
        if (folder_.isValid())
            qputenv("XDG_CONFIG_HOME", folder_.path().toUtf8());
    }

    bool isValid() const { return folder_.isValid(); }

    const QTemporaryDir& folder() const { return folder_; }

private:
    QTemporaryDir folder_;
};

} // namespace skorvin::test
