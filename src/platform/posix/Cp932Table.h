// The double-byte codes of code page 932 as Windows reads them.
#pragma once

// The UTF-16 unit of the code lead:trail, or 0 where Windows has no character
// for it (any lead byte and any trail byte may be asked for).
char16_t Cp932DoubleByte(unsigned char lead, unsigned char trail);
