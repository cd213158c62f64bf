// Stands in for message boxes, the save dialog and other programs in tests.
#pragma once

#include "widgets/paper.h"
#include "widgets/uiservices.h"

#include <QDialog>
#include <QTextDocument>

#include <functional>

#include <QHash>
#include <QList>
#include <QStringList>

namespace innkeld::test {

class FakeUi : public UiServices
{
public:
    struct Message
    {
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QString title;
    };
    QList<Message> messages;
    QList<QMessageBox::StandardButton> answers;  // taken in order; then the first button offered
    QString saveAnswer;
    QStringList savePrompts;
    QList<QStringList> started;  // program, then its arguments
    QList<QUrl> opened;
    bool startSucceeds = true;

    QMessageBox::StandardButton message(QWidget *, const QString &text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons, const QString &title) override
    {
        messages << Message{text, icon, buttons, title};
        if (!answers.isEmpty())
            return answers.takeFirst();
        for (int b = QMessageBox::FirstButton; b <= QMessageBox::LastButton; b <<= 1)
            if (buttons.testFlag(QMessageBox::StandardButton(b)))
                return QMessageBox::StandardButton(b);
        return QMessageBox::NoButton;
    }
    QString openAnswer;
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override { return openAnswer; }
    QString saveFilter, saveSuffix;
    QStringList folderAnswers;  // taken in order; then empty (cancelled)
    QString existingFolder(QWidget *, const QString &, const QString &) override
    {
        return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
    }
    QString saveFileName(QWidget *, const QString &title, const QString &, const QString &filter,
                         const QString &defaultSuffix) override
    {
        savePrompts << title;
        saveFilter = filter;
        saveSuffix = defaultSuffix;
        return saveAnswer;
    }
    bool startProgram(const QString &program, const QStringList &arguments) override
    {
        started << (QStringList{program} + arguments);
        return startSucceeds;
    }
    bool openUrl(const QUrl &url) override
    {
        opened << url;
        return startSucceeds;
    }
    // Each dialog of the program's own that asks: its title, then the
    // answer `dialogAnswer` gives (it may fill the dialog's fields); rejected
    // when there is none.
    QStringList dialogTitles;
    std::function<int(QDialog &)> dialogAnswer;
    // The desktop's keyring: one that works, or none.
    QHash<QString, QString> keyring;
    bool keyringWorks = true;
    QString readSecret(const QString &key, bool *found, QString *problem) override
    {
        *found = keyringWorks && keyring.contains(key);
        if (!keyringWorks && problem)
            *problem = QStringLiteral("No keyring");
        return keyring.value(key);
    }
    bool storeSecret(const QString &key, const QString &value, QString *problem) override
    {
        if (!keyringWorks) {
            if (problem)
                *problem = QStringLiteral("No keyring");
            return false;
        }
        keyring.insert(key, value);
        return true;
    }
    int askDialog(QDialog &dialog) override
    {
        dialogTitles << dialog.windowTitle();
        return dialogAnswer ? dialogAnswer(dialog) : int(QDialog::Rejected);
    }
    // Each paper shown: its title and text; written as PDF to `paperPdf`
    // when it is set, as the preview's Save as PDF does.
    QStringList paperTitles, paperTexts, paperNames;
    QString paperPdf;
    void showPaper(QWidget *, const QString &title, QTextDocument &paper, const QString &pdfName) override
    {
        paperTitles << title;
        paperTexts << paper.toPlainText();
        paperNames << pdfName;
        if (!paperPdf.isEmpty())
            WritePaperPdf(paper, title, paperPdf, filePermissions());
    }
};

}  // namespace innkeld::test
