#include "modMain.h"

#include "data/settings.h"
#include "frmSplash.h"
#include "uiservices.h"

namespace innkeld {

Program::Program(const AppContext &context) : m_context(context) {}

Program::~Program() = default;

void Program::loadMain()
{
    if (m_failed || (m_main && m_main->isLoaded()))
        return;
    if (!m_main)
        m_main = std::make_unique<frmMain>(m_context);
    QString failure;
    try {
        m_main->Form_Load();
        return;
    } catch (const DbError &e) {
        failure = e.message();
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    m_failed = true;
    m_main.reset();
    m_context.ui->message(nullptr, failure, QMessageBox::Critical);
}

int Program::Main()
{
    {
        frmSplash *shown = nullptr;
        frmSplash splash([this, &shown] {
            loadMain();
            if (m_failed && shown)
                shown->Timer1_Timer();  // nothing more to wait for
        });
        shown = &splash;
        splash.exec();
    }
    // The splash may have closed before its load tick.
    loadMain();
    if (m_failed)
        return 1;
    m_main->show();
    m_main->StartDailyBackup();

    SettingsStore &settings = *m_context.settings;
    const bool firstRun = SettingToBool(settings.ReadSetting(QStringLiteral("FirstRun"), true), true);
    settings.WriteSetting(QStringLiteral("FirstRun"), QStringLiteral("False"));
    if (firstRun)
        m_main->FirstRun();
    return 0;
}

}  // namespace innkeld
