#include "ui/qt/Prompts.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPushButton>

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

void SetDialogRunner(DialogRunner runner)
{
    Runner() = std::move(runner);
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                                        QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                        const QString& details)
{
    return ShowMessage(parent, text, caption, icon, buttons, details, {}, nullptr);
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, const QString& text, const QString& caption,
                                        QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                        const QString& details, const QString& extra, bool* extraClicked)
{
    QMessageBox box(icon, caption, text, buttons, parent);
    if (!details.isEmpty())
        box.setDetailedText(details);
    QAbstractButton* extraButton = extra.isEmpty() ? nullptr : box.addButton(extra, QMessageBox::ActionRole);
    QMessageBox::StandardButton result;
    if (Presenter()) {
        result = Presenter()(box);
    } else {
        box.exec();
        result = box.standardButton(box.clickedButton());
    }
    if (extraClicked)
        *extraClicked = extraButton && box.clickedButton() == extraButton;
    return result;
}

QMessageBox::Icon IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error: return QMessageBox::Critical;
    case MessageKind::Warning: return QMessageBox::Warning;
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

int RunDialog(QDialog& dialog)
{
    if (Runner())
        return Runner()(dialog);
    return dialog.exec();
}
