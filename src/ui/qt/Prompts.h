// Every message box, folder browser and modal dialog of the program goes
// through these functions, so that tests can answer them in place of a
// person. Without an answerer each one runs modally as usual.
#pragma once

#include <functional>

#include <QMessageBox>
#include <QString>

#include "app/DialogHost.h"

class QDialog;
class QWidget;

// Shows a box that is fully built (text, caption, icon, buttons, details) and
// returns the button that closed it.
using MessagePresenter = std::function<QMessageBox::StandardButton(QMessageBox& box)>;
// Returns the folder chosen in the folder browser, or an empty text for
// Cancel; start is the folder it opens at.
using FolderPicker = std::function<QString(QWidget* parent, const QString& title, const QString& start)>;
// Returns the file chosen in the save dialog, or an empty text for Cancel;
// suggested is the path it proposes, filter the file types it offers.
using SaveFilePicker =
    std::function<QString(QWidget* parent, const QString& title, const QString& suggested, const QString& filter)>;
// Runs a dialog modally and returns its result (QDialog::Accepted / Rejected).
using DialogRunner = std::function<int(QDialog& dialog)>;

// An empty function restores the interactive behaviour.
void SetMessagePresenter(MessagePresenter presenter);
void SetFolderPicker(FolderPicker picker);
void SetSaveFilePicker(SaveFilePicker picker);
void SetDialogRunner(DialogRunner runner);

// A modal message box with the given buttons; details, when not empty, are
// offered behind the box's "Show Details" button.
QMessageBox::StandardButton ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                        const QString& details = {});
// The same box with one more button: Open, showing openText, when it is not empty.
QMessageBox::StandardButton ShowMessageWithOpen(QWidget* parent, const QString& text, const QString& caption,
                                                QMessageBox::Icon icon, const QString& openText);
// The icon of a message kind of the core.
QMessageBox::Icon IconOf(MessageKind kind);

// The folder browser: file-system folders only; empty for Cancel. It opens at
// location, or at the nearest folder above it that exists.
QString ChooseFolder(QWidget* parent, const QString& title, const QString& location);
// location itself when it is a folder, else the nearest folder above it that
// exists; the top of the file system when none does.
QString NearestExistingFolder(const QString& location);

// The save dialog: the file to write, empty for Cancel.
QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& suggested, const QString& filter);

int RunDialog(QDialog& dialog);
