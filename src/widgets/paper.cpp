#include "paper.h"

#include <QCoreApplication>
#include <QImage>
#include <QLocale>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>

#include <stdexcept>

namespace innkeld {

namespace {
constexpr char kLogo[] = "logo:house";  // as the papers' markup names it
}

QPageLayout RegionalPageLayout()
{
    const bool inches = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(inches ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

void SetLandscape(QTextDocument &paper)
{
    paper.setProperty("innkeld.landscape", true);
}

QPageLayout PaperLayout(const QTextDocument &paper)
{
    QPageLayout layout = RegionalPageLayout();
    if (paper.property("innkeld.landscape").toBool())
        layout.setOrientation(QPageLayout::Landscape);
    return layout;
}

std::unique_ptr<QTextDocument> MakePaper(const QString &html, const QByteArray &logo)
{
    auto paper = std::make_unique<QTextDocument>();
    if (!logo.isEmpty())
        paper->addResource(QTextDocument::ImageResource, QUrl(QLatin1String(kLogo)), QImage::fromData(logo));
    paper->setHtml(html);
    return paper;
}

void PrintPaper(QTextDocument &paper, QPagedPaintDevice &device)
{
    device.setPageLayout(PaperLayout(paper));
    paper.print(&device);
}

void WritePaperPdf(QTextDocument &paper, const QString &title, const QString &path, QFileDevice::Permissions permissions)
{
    QSaveFile file(path);
    // No more readable than the database, from the first byte.
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(permissions))
        throw std::runtime_error(QCoreApplication::translate("Papers", "Could not write %1: %2").arg(path, file.errorString()).toStdString());
    {
        QPdfWriter writer(&file);
        writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Innkeld"));
        writer.setResolution(300);
        PrintPaper(paper, writer);
    }
    if (!file.commit())
        throw std::runtime_error(QCoreApplication::translate("Papers", "Could not write %1: %2").arg(path, file.errorString()).toStdString());
}

}  // namespace innkeld
