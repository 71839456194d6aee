// The dialog host of the command line program: each message box becomes one
// paragraph, errors and warnings on stderr, information on stdout. Everything
// it prints passes one escaping rule on the way out: a control character
// (C0, DEL, C1) becomes '?', so that a name from a file or an argument can
// neither break a listing row nor steer the terminal. The line breaks of a
// paragraph and the tabs between the fields of a row are the host's own.
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/DialogHost.h"

class CliHost : public IDialogHost {
public:
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void FocusControl(FocusTarget, bool) override {}
    void MessageBox(const std::u16string& text, const std::u16string& caption, MessageKind kind) override;
    // The listing's notice (why a folder's image was passed over) goes to
    // stderr, each notice once however often its list is refilled.
    void ShowModelList(ListSide side, const ModelListing& listing) override;

    // The text that stands for the dialog's "No items were selected" message:
    // the command line names the key it did not find instead.
    void SetNoSelectionText(std::u16string text) { m_noSelectionText = std::move(text); }

    // A paragraph of the program's own (usage errors and the like).
    void Error(const std::u16string& text) { Paragraph(stderr, text); }
    void Info(const std::u16string& text) { Paragraph(stdout, text); }
    // Lines on stdout, not a paragraph (report lines).
    void Line(const std::u16string& text);
    // One listing row on stdout: the fields separated by tabs.
    void Row(std::initializer_list<std::u16string> fields);

    // False once a write to stdout failed.
    bool OutputOk() const { return !m_outFailed; }
    // Flushes stdout; true when everything written to it arrived.
    bool FinishOutput();

private:
    void Paragraph(std::FILE* stream, const std::u16string& text);
    void Write(std::FILE* stream, const std::string& utf8);

    bool m_outUsed = false;
    bool m_errUsed = false;
    bool m_outFailed = false;
    std::u16string m_noSelectionText;
    std::vector<std::u16string> m_notices;
};
