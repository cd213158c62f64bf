// The topic pane of the help window: a text browser that reads the topics,
// their style sheet and pictures from the help engine.
#pragma once

#include <QTextBrowser>

class QHelpEngineCore;

namespace innkeld {

class HelpBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget *parent = nullptr);
    void setEngine(QHelpEngineCore *engine) { m_engine = engine; }

    QVariant loadResource(int type, const QUrl &name) override;

private:
    QHelpEngineCore *m_engine = nullptr;
};

}  // namespace innkeld
