// Shared pieces of the widget tests: a settings store of their own, reset for
// every test, and message boxes, folder browsers and dialogs answered by the
// test instead of a person.
#pragma once

#include <deque>
#include <memory>

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>

#include "ui/qt/Prompts.h"

// One message box as it was shown.
struct ShownBox {
    QString text;
    QString caption;
    QString details;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Records every box and answers it with the next queued button (the box's
// first button when none is queued). Restores the interactive boxes when it goes.
class MessageCapture {
public:
    MessageCapture()
    {
        SetMessagePresenter([this](QMessageBox& box) {
            ShownBox shown{box.text(), box.windowTitle(), box.detailedText(), box.icon(), box.standardButtons()};
            boxes.push_back(shown);
            if (!answers.empty()) {
                const QMessageBox::StandardButton answer = answers.front();
                answers.pop_front();
                return answer;
            }
            const QList<QAbstractButton*> buttons = box.buttons();
            return buttons.isEmpty() ? QMessageBox::NoButton : box.standardButton(buttons.first());
        });
    }
    ~MessageCapture() { SetMessagePresenter(nullptr); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    QStringList Texts() const
    {
        QStringList texts;
        for (const ShownBox& b : boxes)
            texts.append(b.text);
        return texts;
    }

    std::vector<ShownBox> boxes;
    std::deque<QMessageBox::StandardButton> answers;
};

// The folder browser returns the queued folders in turn (Cancel when none)
// and records the folders it opened at.
class FolderAnswers {
public:
    FolderAnswers()
    {
        SetFolderPicker([this](QWidget*, const QString& title, const QString& start) {
            titles.append(title);
            starts.append(start);
            if (folders.empty())
                return QString();
            const QString next = folders.front();
            folders.pop_front();
            return next;
        });
    }
    ~FolderAnswers() { SetFolderPicker(nullptr); }
    FolderAnswers(const FolderAnswers&) = delete;
    FolderAnswers& operator=(const FolderAnswers&) = delete;

    std::deque<QString> folders;
    QStringList titles;
    QStringList starts;
};

// Settings in a fresh temporary folder; the program's own name for them.
class TestSettings {
public:
    TestSettings()
    {
        QCoreApplication::setApplicationName(QStringLiteral("arkleton"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }
    QString Path() const { return m_dir.path(); }
    // The file both programs read: <folder>/Varkel Corp./arkleton.conf
    QString File() const { return m_dir.path() + QStringLiteral("/Varkel Corp./arkleton.conf"); }
    std::unique_ptr<QSettings> Open() const
    {
        return std::make_unique<QSettings>(File(), QSettings::IniFormat);
    }

private:
    QTemporaryDir m_dir;
};
