// The program's help: the front desk's manual in a window of its own, with
// its contents, index and full-text search beside the topic shown. It is
// modeless and stays with the window that owns it.
#pragma once

#include <QUrl>
#include <QWidget>

#include <memory>

class QHelpEngine;

namespace Ui {
class HelpWindow;
}

namespace innkeld {

class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    // helpFile: the compiled manual; collectionFile: where the help engine
    // keeps its register and search index (a folder the user may write).
    HelpWindow(const QString &helpFile, const QString &collectionFile, QWidget *owner);
    // The manual in the program's language, found beside the program, with
    // a register of its own in `cacheFolder` (none: the program's folder).
    static HelpWindow *ForProgram(const QString &programFolder, const QString &cacheFolder, QWidget *owner);
    ~HelpWindow() override;
    HelpWindow(const HelpWindow &) = delete;
    HelpWindow &operator=(const HelpWindow &) = delete;

    void showContents();
    void showIndex();
    void showSearch();

    bool hasManual() const { return m_hasManual; }
    QUrl topic() const;
    QHelpEngine *engine() const { return m_engine; }
    void showTopic(const QUrl &url);

private:
    void present();

    const std::unique_ptr<Ui::HelpWindow> ui;
    QHelpEngine *m_engine = nullptr;
    QString m_namespace;
    bool m_hasManual = false;
    bool m_indexed = false;
};

}  // namespace innkeld
