#include "frmAbout.h"
#include "ui_frmAbout.h"

#include "widgets/uiservices.h"

#include <QLayout>
#include <QStandardPaths>

#include "innkeld_version.h"

namespace innkeld {

const char *const kPublisherAddress = "https://innkeld.example/";

namespace {

// The system information tools of the common desktops, looked for on PATH
// in this order: HardInfo, KDE's Info Center, GNOME's System Monitor, the
// Xfce Task Manager.
const char *const kSystemInfoTools[] = {"hardinfo", "kinfocenter", "gnome-system-monitor", "xfce4-taskmanager"};

}  // namespace

frmAbout::frmAbout(UiServices &services, QWidget *parent) : QDialog(parent), ui(new Ui::frmAbout), m_ui(services)
{
    ui->setupUi(this);
    ui->lblVersion->setText(QStringLiteral("v") + QLatin1String(INNKELD_VERSION));
    ui->lblWebAddress->setText(QLatin1String(kPublisherAddress));
    // A fixed dialog: as large as its content, and no larger or smaller.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connect(ui->cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(ui->cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    connect(ui->lblWebAddress, &ClickLabel::clicked, this, &frmAbout::openPublisher);
    connect(ui->picIcon, &ClickLabel::clicked, this, &frmAbout::openPublisher);
}

frmAbout::~frmAbout() = default;

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    for (const char *tool : kSystemInfoTools) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(tool));
        if (!path.isEmpty()) {
            if (m_ui.startProgram(path, {}))
                return;
            break;  // found but it would not start
        }
    }
    m_ui.message(this, tr("System Information Is Unavailable At This Time"), QMessageBox::NoIcon,
                 QMessageBox::Ok);
}

void frmAbout::openPublisher()
{
    // A failure to open the address is not reported.
    m_ui.openUrl(QUrl(QLatin1String(kPublisherAddress)));
}

}  // namespace innkeld
