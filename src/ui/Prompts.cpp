#include "ui/Prompts.h"

#include <QDialog>
#include <QFileDialog>

#include "convert/DialogHost.h"

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
    QMessageBox box(icon, caption, text, buttons, parent);
    if (!details.isEmpty())
        box.setDetailedText(details);
    if (Presenter())
        return Presenter()(box);
    box.exec();
    return box.standardButton(box.clickedButton());
}

QMessageBox::Icon IconFromStyle(unsigned style)
{
    switch (style & 0xF0) {
    case MB_ICONSTOP: return QMessageBox::Critical;
    case MB_ICONEXCLAMATION: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

QString ChooseFolder(QWidget* parent, const QString& title)
{
    if (Picker())
        return Picker()(parent, title);
    // The browser starts at the top of the file system, the nearest thing to
    // a list of drives.
    return QFileDialog::getExistingDirectory(parent, title, QStringLiteral("/"), QFileDialog::ShowDirsOnly);
}

int RunDialog(QDialog& dialog)
{
    if (Runner())
        return Runner()(dialog);
    return dialog.exec();
}
