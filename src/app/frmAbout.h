// The about dialog: who makes the program and which version it is; its
// logo and web address open the publisher's site, System Info starts the
// desktop's system information tool.
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmAbout;
}

namespace innkeld {

class UiServices;

// The publisher's web address.
extern const char *const kPublisherAddress;

class frmAbout : public QDialog
{
    Q_OBJECT
public:
    frmAbout(UiServices &ui, QWidget *parent = nullptr);
    ~frmAbout() override;
    frmAbout(const frmAbout &) = delete;
    frmAbout &operator=(const frmAbout &) = delete;

    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the desktop's system information tool without waiting for it;
    // says so when there is none.
    void StartSysInfo();

private:
    void openPublisher();

    const std::unique_ptr<Ui::frmAbout> ui;
    UiServices &m_ui;
};

}  // namespace innkeld
