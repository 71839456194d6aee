// Model, condition and dual rate names: the PX600's model name rules, where the
// source files keep their condition and dual rate names, and how a condition
// name is written into a PX600 image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

constexpr int CONDITION_COUNT = 8;
constexpr int DUAL_RATE_COUNT = 6;
constexpr int PX200_CONDITION_COUNT = 5;

// Model name limits of the PX600 and of the main dialog's edit.
constexpr size_t MODEL_NAME_MAX_TYPED = 32;
constexpr size_t MODEL_NAME_MAX_STORED = 15;
constexpr size_t CONDITION_NAME_MAX_TYPED = 32;
constexpr size_t DUAL_RATE_NAME_MAX_TYPED = 30;

// A typed model name without the spaces at its start and its end: the name the
// checks see, the file is named after and the model stores.
std::u16string TrimModelName(const std::u16string& typed);

// The three model name checks; each looks at no more than 16 positions and
// stops at the text's terminator.
bool CheckModelNameEntered(const char16_t* text);
bool CheckModelNameLength(const char16_t* text);
// CheckModelNameChars also refuses a name that begins with a dot.
bool CheckModelNameChars(const char16_t* text);
// The PX600's model name characters that are also file name characters on
// every system: U+0020..U+007E except " * / : < > ? \ |, and U+FF61..U+FF9F.
bool IsModelNameChar(char16_t c);
// False when the name, up to its first '.' and without trailing blanks and
// dots, is a device name of Windows in any case: CON, PRN, AUX, NUL, COM1..9,
// LPT1..9, CONIN$, CONOUT$. Such a model file name would reach the device.
bool CheckModelNameNotDevice(const char16_t* text);

// Two model names that name one model file: equal but for the case of ASCII
// letters, as the folder search that finds an existing file compares them.
bool SameModelFileName(const std::u16string& a, const std::u16string& b);
// Makes any text a model name that passes every check the Convert command
// makes: the spaces around it dropped, each character that the PX600 or a
// file name refuses replaced by '_' (a surrogate pair by one), a leading dot
// and a device name made harmless by a '_', at most 15 characters. A text that
// leaves nothing takes fallback, made valid the same way, else "MODEL". Where
// taken says that the name is already given (to a file in the target folder or
// another model of the same run), the first free " 2", " 3", ... is appended,
// the name shortened so that it still has at most 15 characters.
std::u16string MakeModelNameValid(const std::u16string& text, const std::u16string& fallback,
                                  const std::function<bool(const std::u16string&)>& taken = nullptr);

// Names read from source images (whole images: PX400 196608 bytes, PX200 at
// least 6618). Each stops at the end of its field and is passed through the
// ANSI code page, as the detail dialog shows it.
std::u16string GetConditionNamePX400(const uint8_t* image, int condition);
std::u16string GetDualRateNamePX400(const uint8_t* image, int condition, int dualRate);
std::u16string GetConditionNamePX200(const uint8_t* image, int condition);
std::u16string GetDualRateNamePX200(const uint8_t* image, int condition, int dualRate);

// The default names, the same in every language: the transmitters show them
// in their own character set.
std::u16string GetDefaultConditionName(bool helicopter, int condition);
std::u16string GetDefaultDualRateName(int dualRate);

// Writes condition name c (0..7) into a PX600 image: its first 8 units, zeros
// after its end, and a ninth unit 0, big-endian. A surrogate pair that the
// cut after 8 units would split is left out (its unit is 0).
void PutConditionName(uint8_t* px600Image, int condition, const std::u16string& text);
