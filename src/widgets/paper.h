// The print path of every paper: its markup laid out once as a document,
// which the print preview, the printer and the PDF all take as it is.
#pragma once

#include <QFileDevice>
#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <memory>

class QPagedPaintDevice;
class QTextDocument;

namespace innkeld {

// The region's paper (Letter where the region measures in inches, A4
// elsewhere), upright, with margins of 15 mm, which every office printer takes.
QPageLayout RegionalPageLayout();

// A paper laid across the page (the room chart): its layout is the
// region's, turned.
void SetLandscape(QTextDocument &paper);
QPageLayout PaperLayout(const QTextDocument &paper);

// The document of a paper's markup, the house's logo given where it shows it.
std::unique_ptr<QTextDocument> MakePaper(const QString &html, const QByteArray &logo);

// Lays the document out on the device's pages and paints them.
void PrintPaper(QTextDocument &paper, QPagedPaintDevice &device);

// Writes the paper as a PDF/A-1b file at `path` (whole or not at all).
// Throws std::runtime_error with the system's text on failure.
void WritePaperPdf(QTextDocument &paper, const QString &title, const QString &path,
                   QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner);

}  // namespace innkeld
