// The dialog host of the command line program: each message box becomes one
// paragraph, errors and warnings on stderr, information on stdout.
#pragma once

#include <cstdio>
#include <string>

#include "convert/DialogHost.h"

class CliHost : public IDialogHost {
public:
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void FocusControl(int, bool) override {}
    void MessageBox(const std::u16string& text, const std::u16string& caption, unsigned style) override;
    void ShowModelList(int, const ModelListing&) override {}

    // A paragraph of the program's own (usage errors and the like).
    void Error(const std::u16string& text) { Paragraph(stderr, text); }
    void Info(const std::u16string& text) { Paragraph(stdout, text); }
    // One line on stdout, not a paragraph (listing and report lines).
    void Line(const std::u16string& text);

private:
    void Paragraph(std::FILE* stream, const std::u16string& text);

    bool m_outUsed = false;
    bool m_errUsed = false;
};

// A text with control characters replaced, so that names from model files
// cannot break a line or steer the terminal.
std::u16string Printable(const std::u16string& text);
