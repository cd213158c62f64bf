// The start of the program: the splash, the main window, the first run.
#pragma once

#include "frmMain.h"

#include <memory>

namespace innkeld {

class Program
{
public:
    explicit Program(const AppContext &context);
    ~Program();

    // Shows the splash, loads and shows the main window, marks the first run
    // as done and runs its action for a user's first start. Returns 0 with
    // the main window shown, or 1 when the load failed: the operator has then
    // seen the failure and no main window remains.
    int Main();

    frmMain *mainWindow() const { return m_main.get(); }

private:
    void loadMain();
    // The database to open, made when it is the user's first: false when
    // it cannot be made (said).
    bool chooseDatabase();
    // What an earlier version's database lacks, given with its progress
    // shown: false when stopped or failed (said).
    void waitForClosingCopy();
    bool upgradeDatabase();

    AppContext m_context;
    std::unique_ptr<frmMain> m_main;
    bool m_failed = false;
    bool m_chosen = false;
};

}  // namespace innkeld
