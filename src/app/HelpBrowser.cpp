#include "HelpBrowser.h"

#include <QHelpEngineCore>

namespace innkeld {

HelpBrowser::HelpBrowser(QWidget *parent) : QTextBrowser(parent) {}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    if (m_engine && name.scheme() == QLatin1String("qthelp"))
        return m_engine->fileData(name);
    return QTextBrowser::loadResource(type, name);
}

}  // namespace innkeld
