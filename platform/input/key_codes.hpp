// Keyboard key codes as the program knows them: the DirectInput numbering,
// which is the set-1 make code of the key, with 0x80 added for the keys whose
// make code is prefixed with 0xE0 (the "extended" keys: right Control, the
// arrow block, the keypad's Enter and slash, and the media keys).
//
// These are physical keys, not characters: W is the key right of Q whatever
// the layout prints on it.
#pragma once

#include <cstdint>

namespace kbh {

constexpr uint8_t kKeyNone = 0x00;
constexpr uint8_t kKeyEscape = 0x01;
constexpr uint8_t kKey1 = 0x02;
constexpr uint8_t kKey2 = 0x03;
constexpr uint8_t kKey3 = 0x04;
constexpr uint8_t kKey4 = 0x05;
constexpr uint8_t kKey5 = 0x06;
constexpr uint8_t kKey6 = 0x07;
constexpr uint8_t kKey7 = 0x08;
constexpr uint8_t kKey8 = 0x09;
constexpr uint8_t kKey9 = 0x0A;
constexpr uint8_t kKey0 = 0x0B;
constexpr uint8_t kKeyMinus = 0x0C;
constexpr uint8_t kKeyEquals = 0x0D;
constexpr uint8_t kKeyBackspace = 0x0E;
constexpr uint8_t kKeyTab = 0x0F;
constexpr uint8_t kKeyQ = 0x10;
constexpr uint8_t kKeyW = 0x11;
constexpr uint8_t kKeyE = 0x12;
constexpr uint8_t kKeyR = 0x13;
constexpr uint8_t kKeyT = 0x14;
constexpr uint8_t kKeyY = 0x15;
constexpr uint8_t kKeyU = 0x16;
constexpr uint8_t kKeyI = 0x17;
constexpr uint8_t kKeyO = 0x18;
constexpr uint8_t kKeyP = 0x19;
constexpr uint8_t kKeyLeftBracket = 0x1A;
constexpr uint8_t kKeyRightBracket = 0x1B;
constexpr uint8_t kKeyReturn = 0x1C;
constexpr uint8_t kKeyLeftControl = 0x1D;
constexpr uint8_t kKeyA = 0x1E;
constexpr uint8_t kKeyS = 0x1F;
constexpr uint8_t kKeyD = 0x20;
constexpr uint8_t kKeyF = 0x21;
constexpr uint8_t kKeyG = 0x22;
constexpr uint8_t kKeyH = 0x23;
constexpr uint8_t kKeyJ = 0x24;
constexpr uint8_t kKeyK = 0x25;
constexpr uint8_t kKeyL = 0x26;
constexpr uint8_t kKeySemicolon = 0x27;
constexpr uint8_t kKeyApostrophe = 0x28;
constexpr uint8_t kKeyGrave = 0x29;
constexpr uint8_t kKeyLeftShift = 0x2A;
constexpr uint8_t kKeyBackslash = 0x2B;  // also the ISO key left of Return
constexpr uint8_t kKeyZ = 0x2C;
constexpr uint8_t kKeyX = 0x2D;
constexpr uint8_t kKeyC = 0x2E;
constexpr uint8_t kKeyV = 0x2F;
constexpr uint8_t kKeyB = 0x30;
constexpr uint8_t kKeyN = 0x31;
constexpr uint8_t kKeyM = 0x32;
constexpr uint8_t kKeyComma = 0x33;
constexpr uint8_t kKeyPeriod = 0x34;
constexpr uint8_t kKeySlash = 0x35;
constexpr uint8_t kKeyRightShift = 0x36;
constexpr uint8_t kKeyNumpadMultiply = 0x37;
constexpr uint8_t kKeyLeftAlt = 0x38;
constexpr uint8_t kKeySpace = 0x39;
constexpr uint8_t kKeyCapsLock = 0x3A;
constexpr uint8_t kKeyF1 = 0x3B;
constexpr uint8_t kKeyF2 = 0x3C;
constexpr uint8_t kKeyF3 = 0x3D;
constexpr uint8_t kKeyF4 = 0x3E;
constexpr uint8_t kKeyF5 = 0x3F;
constexpr uint8_t kKeyF6 = 0x40;
constexpr uint8_t kKeyF7 = 0x41;
constexpr uint8_t kKeyF8 = 0x42;
constexpr uint8_t kKeyF9 = 0x43;
constexpr uint8_t kKeyF10 = 0x44;
constexpr uint8_t kKeyNumLock = 0x45;
constexpr uint8_t kKeyScrollLock = 0x46;
constexpr uint8_t kKeyNumpad7 = 0x47;
constexpr uint8_t kKeyNumpad8 = 0x48;
constexpr uint8_t kKeyNumpad9 = 0x49;
constexpr uint8_t kKeyNumpadMinus = 0x4A;
constexpr uint8_t kKeyNumpad4 = 0x4B;
constexpr uint8_t kKeyNumpad5 = 0x4C;
constexpr uint8_t kKeyNumpad6 = 0x4D;
constexpr uint8_t kKeyNumpadPlus = 0x4E;
constexpr uint8_t kKeyNumpad1 = 0x4F;
constexpr uint8_t kKeyNumpad2 = 0x50;
constexpr uint8_t kKeyNumpad3 = 0x51;
constexpr uint8_t kKeyNumpad0 = 0x52;
constexpr uint8_t kKeyNumpadPeriod = 0x53;
constexpr uint8_t kKeyIsoBackslash = 0x56;  // the 105-key layout's extra key left of Z
constexpr uint8_t kKeyF11 = 0x57;
constexpr uint8_t kKeyF12 = 0x58;
constexpr uint8_t kKeyF13 = 0x64;
constexpr uint8_t kKeyF14 = 0x65;
constexpr uint8_t kKeyF15 = 0x66;
constexpr uint8_t kKeyKana = 0x70;
constexpr uint8_t kKeyRo = 0x73;
constexpr uint8_t kKeyConvert = 0x79;
constexpr uint8_t kKeyNoConvert = 0x7B;
constexpr uint8_t kKeyYen = 0x7D;
constexpr uint8_t kKeyNumpadEquals = 0x8D;
constexpr uint8_t kKeyPreviousTrack = 0x90;
constexpr uint8_t kKeyNextTrack = 0x99;
constexpr uint8_t kKeyNumpadEnter = 0x9C;
constexpr uint8_t kKeyRightControl = 0x9D;
constexpr uint8_t kKeyMute = 0xA0;
constexpr uint8_t kKeyCalculator = 0xA1;
constexpr uint8_t kKeyPlayPause = 0xA2;
constexpr uint8_t kKeyMediaStop = 0xA4;
constexpr uint8_t kKeyVolumeDown = 0xAE;
constexpr uint8_t kKeyVolumeUp = 0xB0;
constexpr uint8_t kKeyWebHome = 0xB2;
constexpr uint8_t kKeyNumpadComma = 0xB3;
constexpr uint8_t kKeyNumpadDivide = 0xB5;
constexpr uint8_t kKeyPrintScreen = 0xB7;
constexpr uint8_t kKeyRightAlt = 0xB8;
constexpr uint8_t kKeyPause = 0xC5;
constexpr uint8_t kKeyHome = 0xC7;
constexpr uint8_t kKeyUp = 0xC8;
constexpr uint8_t kKeyPageUp = 0xC9;
constexpr uint8_t kKeyLeft = 0xCB;
constexpr uint8_t kKeyRight = 0xCD;
constexpr uint8_t kKeyEnd = 0xCF;
constexpr uint8_t kKeyDown = 0xD0;
constexpr uint8_t kKeyPageDown = 0xD1;
constexpr uint8_t kKeyInsert = 0xD2;
constexpr uint8_t kKeyDelete = 0xD3;
constexpr uint8_t kKeyLeftWindows = 0xDB;
constexpr uint8_t kKeyRightWindows = 0xDC;
constexpr uint8_t kKeyMenu = 0xDD;
constexpr uint8_t kKeyPower = 0xDE;
constexpr uint8_t kKeySleep = 0xDF;
constexpr uint8_t kKeyWebSearch = 0xE5;
constexpr uint8_t kKeyWebFavorites = 0xE6;
constexpr uint8_t kKeyWebRefresh = 0xE7;
constexpr uint8_t kKeyWebStop = 0xE8;
constexpr uint8_t kKeyWebForward = 0xE9;
constexpr uint8_t kKeyWebBack = 0xEA;
constexpr uint8_t kKeyMyComputer = 0xEB;
constexpr uint8_t kKeyMail = 0xEC;
constexpr uint8_t kKeyMediaSelect = 0xED;

// Extended keys carry this bit in their code.
constexpr uint8_t kKeyExtendedBit = 0x80;

}  // namespace kbh
