#pragma once

// The look every copy of the program shares, in the program and in the test programs alike:
// the Chinese font (without it Qt falls back to Japanese glyph shapes), Chinese (China) as the
// default locale, Qt's own dialog texts in Chinese, and the product title as the application
// name. Call once, after the QApplication exists.
void ApplyAppFormats();
