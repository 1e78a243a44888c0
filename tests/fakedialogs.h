#pragma once

#include "editor/userdialogs.h"

#include <QList>
#include <QStringList>

/** Dialogs that answer from a script and remember what they were asked. */
class FakeDialogs : public quintaraz::UserDialogs {
public:
    struct Message {
        quintaraz::EditorMessage kind;
        QString detail;
    };

    QStringList filesToChoose; // handed out in order; an empty text is a cancel
    bool answerYes = false;
    QList<Message> messages;
    QStringList questions;
    int fileRequests = 0;

    bool askYesNo(const QString& title, const QString& text) override
    {
        questions.append(title + QLatin1Char('|') + text);
        return answerYes;
    }
    void showMessage(quintaraz::EditorMessage message, const QString& detail) override
    {
        messages.append({message, detail});
    }
    QString chooseFileToOpen() override { return nextFile(); }
    QString chooseFileToSave() override { return nextFile(); }

private:
    QString nextFile()
    {
        ++fileRequests;
        return filesToChoose.isEmpty() ? QString() : filesToChoose.takeFirst();
    }
};
