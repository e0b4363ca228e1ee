// Tokens of the formula language.
#pragma once

#include "source_pos.hpp"

#include <cstdint>
#include <string_view>

namespace tl::script {

enum class Tok : uint8_t {
    Eof,
    Identifier,
    IntLiteral,
    FloatLiteral,
    StringLiteral,
    // symbols
    Assign,    // :=
    Equal,     // =
    NotEqual,  // <>
    Less,      // <
    LessEq,    // <=
    Greater,   // >
    GreaterEq, // >=
    Plus,
    Minus,
    Star,
    Slash,
    LParen,
    RParen,
    LBracket,
    RBracket,
    Comma,
    Semicolon,
    Colon,
    Dot,
    DotDot,
    // reserved words
    KwAnd,
    KwArray,
    KwAbstract,
    KwAs,
    KwBegin,
    KwBreak,
    KwCase,
    KwCdecl,
    KwClass,
    KwConst,
    KwConstructor,
    KwContinue,
    KwDefault,
    KwDestructor,
    KwDiv,
    KwDo,
    KwDownto,
    KwElse,
    KwEnd,
    KwExcept,
    KwExit,
    KwExternal,
    KwFalse,
    KwFastcall,
    KwFinally,
    KwFor,
    KwForward,
    KwFunction,
    KwIf,
    KwIn,
    KwInherited,
    KwIs,
    KwMod,
    KwNil,
    KwNot,
    KwOf,
    KwOn,
    KwOr,
    KwOverride,
    KwPascal,
    KwPrivate,
    KwProcedure,
    KwProperty,
    KwProtected,
    KwPublic,
    KwPublished,
    KwRaise,
    KwRead,
    KwRecord,
    KwRegister,
    KwReintroduce,
    KwRepeat,
    KwStdcall,
    KwThen,
    KwTo,
    KwTrue,
    KwTry,
    KwType,
    KwUntil,
    KwVar,
    KwVirtual,
    KwWhile,
    KwWrite,
    KwXor,
};

struct Token {
    Tok kind = Tok::Eof;
    SourcePos pos;
    std::string_view text;  // as written (for messages)
    std::string_view value; // string literal contents after unquoting
    int64_t int_value = 0;
    double float_value = 0;
    bool bad = false; // a malformed literal that was already reported
};

// "end", ";", "identifier" and the like, for messages about what was expected.
std::string_view TokenSpelling(Tok kind);

} // namespace tl::script
