// SPDX-License-Identifier: MIT
// The virtual key codes of the ANSI keyboard, named once for key handling, key translation and
// the test harness, and what some of them mean.
#pragma once

#include <array>
#include <cstdint>

namespace kv {

// Hardware-independent codes: the same key gives the same code whatever the user's layout.
namespace KeyCode {
inline constexpr std::uint16_t A = 0;
inline constexpr std::uint16_t S = 1;
inline constexpr std::uint16_t D = 2;
inline constexpr std::uint16_t F = 3;
inline constexpr std::uint16_t H = 4;
inline constexpr std::uint16_t G = 5;
inline constexpr std::uint16_t Z = 6;
inline constexpr std::uint16_t X = 7;
inline constexpr std::uint16_t C = 8;
inline constexpr std::uint16_t V = 9;
inline constexpr std::uint16_t B = 11;
inline constexpr std::uint16_t Q = 12;
inline constexpr std::uint16_t W = 13;
inline constexpr std::uint16_t E = 14;
inline constexpr std::uint16_t R = 15;
inline constexpr std::uint16_t Y = 16;
inline constexpr std::uint16_t T = 17;
inline constexpr std::uint16_t Digit1 = 18;
inline constexpr std::uint16_t Digit2 = 19;
inline constexpr std::uint16_t Digit3 = 20;
inline constexpr std::uint16_t Digit4 = 21;
inline constexpr std::uint16_t Digit6 = 22;
inline constexpr std::uint16_t Digit5 = 23;
inline constexpr std::uint16_t Equal = 24;
inline constexpr std::uint16_t Digit9 = 25;
inline constexpr std::uint16_t Digit7 = 26;
inline constexpr std::uint16_t Minus = 27;
inline constexpr std::uint16_t Digit8 = 28;
inline constexpr std::uint16_t Digit0 = 29;
inline constexpr std::uint16_t RightBracket = 30;
inline constexpr std::uint16_t O = 31;
inline constexpr std::uint16_t U = 32;
inline constexpr std::uint16_t LeftBracket = 33;
inline constexpr std::uint16_t I = 34;
inline constexpr std::uint16_t P = 35;
inline constexpr std::uint16_t Return = 36;
inline constexpr std::uint16_t L = 37;
inline constexpr std::uint16_t J = 38;
inline constexpr std::uint16_t Quote = 39;
inline constexpr std::uint16_t K = 40;
inline constexpr std::uint16_t Semicolon = 41;
inline constexpr std::uint16_t Backslash = 42;
inline constexpr std::uint16_t Comma = 43;
inline constexpr std::uint16_t Slash = 44;
inline constexpr std::uint16_t N = 45;
inline constexpr std::uint16_t M = 46;
inline constexpr std::uint16_t Period = 47;
inline constexpr std::uint16_t Tab = 48;
inline constexpr std::uint16_t Space = 49;
inline constexpr std::uint16_t Grave = 50;
inline constexpr std::uint16_t Delete = 51;
inline constexpr std::uint16_t Escape = 53;
inline constexpr std::uint16_t RightCommand = 54;
inline constexpr std::uint16_t Command = 55;
inline constexpr std::uint16_t Shift = 56;
inline constexpr std::uint16_t CapsLock = 57;
inline constexpr std::uint16_t Option = 58;
inline constexpr std::uint16_t Control = 59;
inline constexpr std::uint16_t RightShift = 60;
inline constexpr std::uint16_t RightOption = 61;
inline constexpr std::uint16_t RightControl = 62;
inline constexpr std::uint16_t KeypadDecimal = 65;
inline constexpr std::uint16_t KeypadMultiply = 67;
inline constexpr std::uint16_t KeypadPlus = 69;
inline constexpr std::uint16_t KeypadClear = 71;
inline constexpr std::uint16_t KeypadDivide = 75;
inline constexpr std::uint16_t KeypadEnter = 76;
inline constexpr std::uint16_t KeypadMinus = 78;
inline constexpr std::uint16_t KeypadEquals = 81;
inline constexpr std::uint16_t Keypad0 = 82;
inline constexpr std::uint16_t Keypad1 = 83;
inline constexpr std::uint16_t Keypad2 = 84;
inline constexpr std::uint16_t Keypad3 = 85;
inline constexpr std::uint16_t Keypad4 = 86;
inline constexpr std::uint16_t Keypad5 = 87;
inline constexpr std::uint16_t Keypad6 = 88;
inline constexpr std::uint16_t Keypad7 = 89;
inline constexpr std::uint16_t Keypad8 = 91;
inline constexpr std::uint16_t Keypad9 = 92;
inline constexpr std::uint16_t F5 = 96;
inline constexpr std::uint16_t F6 = 97;
inline constexpr std::uint16_t F7 = 98;
inline constexpr std::uint16_t F3 = 99;
inline constexpr std::uint16_t F8 = 100;
inline constexpr std::uint16_t F9 = 101;
inline constexpr std::uint16_t F11 = 103;
inline constexpr std::uint16_t F10 = 109;
inline constexpr std::uint16_t F12 = 111;
inline constexpr std::uint16_t Help = 114;
inline constexpr std::uint16_t Home = 115;
inline constexpr std::uint16_t PageUp = 116;
inline constexpr std::uint16_t ForwardDelete = 117;
inline constexpr std::uint16_t F4 = 118;
inline constexpr std::uint16_t End = 119;
inline constexpr std::uint16_t F2 = 120;
inline constexpr std::uint16_t PageDown = 121;
inline constexpr std::uint16_t F1 = 122;
inline constexpr std::uint16_t LeftArrow = 123;
inline constexpr std::uint16_t RightArrow = 124;
inline constexpr std::uint16_t DownArrow = 125;
inline constexpr std::uint16_t UpArrow = 126;
}  // namespace KeyCode

// Control, Option and Command: a key held with any of them is a shortcut, never typing.
inline constexpr std::uint64_t CommandLikeModifiers = 0x1C0000;

// The numeric keypad: decimal point, *, +, clear, /, Enter, -, =, and the digits 0 to 9, as a
// bit set over code - 65.
inline constexpr bool IsKeypadKeyCode(std::uint16_t keyCode) {
    constexpr std::uint32_t mask = 0xDFF2C55;
    return keyCode >= 65 && keyCode < 65 + 28 && ((mask >> (keyCode - 65)) & 1u) != 0;
}

// The row a digit key selects on a page (the digit row as "1234567890" labels it), or -1.
inline constexpr int DigitRowIndex(std::uint16_t keyCode) {
    switch (keyCode) {
        case KeyCode::Digit1:
            return 0;
        case KeyCode::Digit2:
            return 1;
        case KeyCode::Digit3:
            return 2;
        case KeyCode::Digit4:
            return 3;
        case KeyCode::Digit5:
            return 4;
        case KeyCode::Digit6:
            return 5;
        case KeyCode::Digit7:
            return 6;
        case KeyCode::Digit8:
            return 7;
        case KeyCode::Digit9:
            return 8;
        case KeyCode::Digit0:
            return 9;
        default:
            return -1;
    }
}

// A key of the main block and what it types on the US layout, alone and with Shift.
struct USPrintableKey {
    char plain;
    char shifted;
    std::uint16_t keyCode;
};

inline constexpr std::array<USPrintableKey, 47> kUSPrintableKeys{{
    {'a', 'A', KeyCode::A},           {'s', 'S', KeyCode::S},
    {'d', 'D', KeyCode::D},           {'f', 'F', KeyCode::F},
    {'h', 'H', KeyCode::H},           {'g', 'G', KeyCode::G},
    {'z', 'Z', KeyCode::Z},           {'x', 'X', KeyCode::X},
    {'c', 'C', KeyCode::C},           {'v', 'V', KeyCode::V},
    {'b', 'B', KeyCode::B},           {'q', 'Q', KeyCode::Q},
    {'w', 'W', KeyCode::W},           {'e', 'E', KeyCode::E},
    {'r', 'R', KeyCode::R},           {'y', 'Y', KeyCode::Y},
    {'t', 'T', KeyCode::T},           {'1', '!', KeyCode::Digit1},
    {'2', '@', KeyCode::Digit2},      {'3', '#', KeyCode::Digit3},
    {'4', '$', KeyCode::Digit4},      {'6', '^', KeyCode::Digit6},
    {'5', '%', KeyCode::Digit5},      {'=', '+', KeyCode::Equal},
    {'9', '(', KeyCode::Digit9},      {'7', '&', KeyCode::Digit7},
    {'-', '_', KeyCode::Minus},       {'8', '*', KeyCode::Digit8},
    {'0', ')', KeyCode::Digit0},      {']', '}', KeyCode::RightBracket},
    {'o', 'O', KeyCode::O},           {'u', 'U', KeyCode::U},
    {'[', '{', KeyCode::LeftBracket}, {'i', 'I', KeyCode::I},
    {'p', 'P', KeyCode::P},           {'l', 'L', KeyCode::L},
    {'j', 'J', KeyCode::J},           {'\'', '"', KeyCode::Quote},
    {'k', 'K', KeyCode::K},           {';', ':', KeyCode::Semicolon},
    {'\\', '|', KeyCode::Backslash},  {',', '<', KeyCode::Comma},
    {'/', '?', KeyCode::Slash},       {'n', 'N', KeyCode::N},
    {'m', 'M', KeyCode::M},           {'.', '>', KeyCode::Period},
    {'`', '~', KeyCode::Grave},
}};

// The US layout's shifted symbol of a symbol key, whatever the user's layout, so Shift with a
// digit or punctuation key offers the same code key everywhere; 0 for letters, the backslash and
// every other key.
inline constexpr char16_t ShiftedRootForKeyCode(std::uint16_t keyCode) {
    for (const USPrintableKey& key : kUSPrintableKeys) {
        const bool letter = key.plain >= 'a' && key.plain <= 'z';
        if (key.keyCode == keyCode && !letter && keyCode != KeyCode::Backslash) {
            return static_cast<char16_t>(key.shifted);
        }
    }
    return 0;
}

}  // namespace kv
