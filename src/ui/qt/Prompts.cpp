#include "ui/qt/Prompts.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

MessagePresenter& Presenter()
{
    static MessagePresenter presenter;
    return presenter;
}

FolderPicker& Picker()
{
    static FolderPicker picker;
    return picker;
}

SaveFilePicker& Saver()
{
    static SaveFilePicker saver;
    return saver;
}

DialogRunner& Runner()
{
    static DialogRunner runner;
    return runner;
}

}  // namespace

void SetMessagePresenter(MessagePresenter presenter)
{
    Presenter() = std::move(presenter);
}

void SetFolderPicker(FolderPicker picker)
{
    Picker() = std::move(picker);
}

void SetSaveFilePicker(SaveFilePicker picker)
{
    Saver() = std::move(picker);
}

void SetDialogRunner(DialogRunner runner)
{
    Runner() = std::move(runner);
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                                        QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                        const QString& details)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    if (!details.isEmpty())
        box.setDetailedText(details);
    if (Presenter())
        return Presenter()(box);
    box.exec();
    return box.standardButton(box.clickedButton());
}

QMessageBox::StandardButton ShowMessageWithOpen(QWidget* parent, const QString& text, const QString& caption,
                                                QMessageBox::Icon icon, const QString& openText)
{
    if (openText.isEmpty())
        return ShowMessage(parent, text, caption, icon);
    QMessageBox box(icon, caption, text, QMessageBox::Ok | QMessageBox::Open, parent);
    box.button(QMessageBox::Open)->setText(openText);
    box.setDefaultButton(QMessageBox::Ok);
    if (Presenter())
        return Presenter()(box);
    box.exec();
    return box.standardButton(box.clickedButton());
}

QMessageBox::Icon IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Warning:
    case MessageKind::HardwareWarning: return QMessageBox::Warning;
    case MessageKind::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

QString NearestExistingFolder(const QString& location)
{
    if (location.trimmed().isEmpty())
        return QDir::rootPath();
    QString path = QDir::cleanPath(QFileInfo(location).absoluteFilePath());
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            return QDir::rootPath();
        path = parent;
    }
    return path;
}

QString ChooseFolder(QWidget* parent, const QString& title, const QString& location)
{
    const QString start = NearestExistingFolder(location);
    if (Picker())
        return Picker()(parent, title, start);
    return QFileDialog::getExistingDirectory(parent, title, start, QFileDialog::ShowDirsOnly);
}

QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& suggested, const QString& filter)
{
    if (Saver())
        return Saver()(parent, title, suggested, filter);
    return QFileDialog::getSaveFileName(parent, title, suggested, filter);
}

int RunDialog(QDialog& dialog)
{
    if (Runner())
        return Runner()(dialog);
    return dialog.exec();
}
