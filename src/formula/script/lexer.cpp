#include "lexer.hpp"

#include "ansi_text.hpp"
#include "tlcommon/text_codec.hpp"
#include "tlscript/function_registry.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fmt/format.h>
#include <fstream>
#include <sstream>
#include <unordered_map>

namespace tl::script {
namespace {

// Nested includes deeper than this are a loop of files including each other.
constexpr size_t kMaxIncludeDepth = 16;

bool IsIdentStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsIdentChar(char c) {
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsSymbolChar(char c) {
    switch (c) {
    case ':':
    case '=':
    case '<':
    case '>':
    case '+':
    case '-':
    case '*':
    case '/':
    case '(':
    case ')':
    case '[':
    case ']':
    case ',':
    case ';':
    case '.':
        return true;
    default:
        return false;
    }
}
bool IsTokenStart(char c) {
    return IsIdentChar(c) || IsSymbolChar(c) || c == '$' || c == '\'' || c == '#';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

const std::unordered_map<std::string_view, Tok>& Keywords() {
    static const std::unordered_map<std::string_view, Tok> table = {
        {"and", Tok::KwAnd},
        {"array", Tok::KwArray},
        {"abstract", Tok::KwAbstract},
        {"as", Tok::KwAs},
        {"begin", Tok::KwBegin},
        {"break", Tok::KwBreak},
        {"case", Tok::KwCase},
        {"cdecl", Tok::KwCdecl},
        {"class", Tok::KwClass},
        {"const", Tok::KwConst},
        {"constructor", Tok::KwConstructor},
        {"continue", Tok::KwContinue},
        {"default", Tok::KwDefault},
        {"destructor", Tok::KwDestructor},
        {"div", Tok::KwDiv},
        {"do", Tok::KwDo},
        {"downto", Tok::KwDownto},
        {"else", Tok::KwElse},
        {"end", Tok::KwEnd},
        {"except", Tok::KwExcept},
        {"exit", Tok::KwExit},
        {"external", Tok::KwExternal},
        {"false", Tok::KwFalse},
        {"fastcall", Tok::KwFastcall},
        {"finally", Tok::KwFinally},
        {"for", Tok::KwFor},
        {"forward", Tok::KwForward},
        {"function", Tok::KwFunction},
        {"if", Tok::KwIf},
        {"in", Tok::KwIn},
        {"inherited", Tok::KwInherited},
        {"is", Tok::KwIs},
        {"mod", Tok::KwMod},
        {"nil", Tok::KwNil},
        {"not", Tok::KwNot},
        {"of", Tok::KwOf},
        {"on", Tok::KwOn},
        {"or", Tok::KwOr},
        {"override", Tok::KwOverride},
        {"pascal", Tok::KwPascal},
        {"private", Tok::KwPrivate},
        {"procedure", Tok::KwProcedure},
        {"property", Tok::KwProperty},
        {"protected", Tok::KwProtected},
        {"public", Tok::KwPublic},
        {"published", Tok::KwPublished},
        {"raise", Tok::KwRaise},
        {"read", Tok::KwRead},
        {"record", Tok::KwRecord},
        {"register", Tok::KwRegister},
        {"reintroduce", Tok::KwReintroduce},
        {"repeat", Tok::KwRepeat},
        {"stdcall", Tok::KwStdcall},
        {"then", Tok::KwThen},
        {"to", Tok::KwTo},
        {"true", Tok::KwTrue},
        {"try", Tok::KwTry},
        {"type", Tok::KwType},
        {"until", Tok::KwUntil},
        {"var", Tok::KwVar},
        {"virtual", Tok::KwVirtual},
        {"while", Tok::KwWhile},
        {"write", Tok::KwWrite},
        {"xor", Tok::KwXor},
    };
    return table;
}

// A name that stays inside one of the include directories: relative, without "..".
bool IsSafeIncludeName(std::string_view name) {
    if (name.empty()) {
        return false;
    }
    std::filesystem::path path{std::string(name)};
    if (path.is_absolute() || path.has_root_name() || path.has_root_directory() ||
        name.find('\\') != name.npos || name.find(':') != name.npos) {
        return false;
    }
    for (const auto& part : path) {
        if (part == "..") {
            return false;
        }
    }
    return true;
}

// Whether `file`, with every symbolic link resolved, still lies inside `dir`: a link in the include
// directory must not lead out of it any more than ".." may.
bool ResolvesInside(const std::filesystem::path& dir, const std::filesystem::path& file) {
    std::error_code ec;
    const std::filesystem::path real_dir = std::filesystem::canonical(dir, ec);
    if (ec) {
        return false;
    }
    const std::filesystem::path real_file = std::filesystem::canonical(file, ec);
    if (ec) {
        return false;
    }
    const auto mismatch = std::mismatch(real_dir.begin(), real_dir.end(), real_file.begin(), real_file.end());
    return mismatch.first == real_dir.end();
}

} // namespace

Lexer::Lexer(std::string_view text, const std::vector<std::string>& include_dirs, Diagnostics& diag,
             SourceStore& sources)
    : include_dirs_(include_dirs), diag_(diag), sources_(sources) {
    Input main;
    main.text = text;
    // A UTF-8 byte order mark is not part of the program.
    if (text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
        static_cast<unsigned char>(text[1]) == 0xBB && static_cast<unsigned char>(text[2]) == 0xBF) {
        main.pos = 3;
    }
    stack_.push_back(main);
}

void Lexer::Advance() {
    Input& input = in();
    char c = input.text[input.pos++];
    if (c == '\n') {
        ++input.line;
        input.column = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
        // Columns count characters, not the continuation bytes of UTF-8.
        ++input.column;
    }
}

bool Lexer::SkipTrivia() {
    for (;;) {
        if (AtEnd()) {
            if (stack_.size() == 1) {
                return false;
            }
            stack_.pop_back();
            continue;
        }
        char c = Peek();
        if (IsBlank(c)) {
            Advance();
        } else if (c == '/' && Peek(1) == '/') {
            while (!AtEnd() && Peek() != '\n') {
                Advance();
            }
        } else if (c == '{') {
            SourcePos start = Here();
            Advance();
            if (Peek() == '$') {
                Advance();
                CompilerSwitch(start);
            } else {
                SkipBraceComment(start);
            }
        } else if (c == '(' && Peek(1) == '*') {
            SourcePos start = Here();
            Advance();
            Advance();
            SkipParenComment(start);
        } else {
            return true;
        }
    }
}

void Lexer::SkipBraceComment(SourcePos start) {
    while (!AtEnd() && Peek() != '}') {
        Advance();
    }
    if (AtEnd()) {
        diag_.Error(start, "Незакрытый комментарий");
        return;
    }
    Advance();
}

void Lexer::SkipParenComment(SourcePos start) {
    while (!AtEnd() && !(Peek() == '*' && Peek(1) == ')')) {
        Advance();
    }
    if (AtEnd()) {
        diag_.Error(start, "Незакрытый комментарий");
        return;
    }
    Advance();
    Advance();
}

void Lexer::CompilerSwitch(SourcePos start) {
    size_t begin = in().pos;
    while (!AtEnd() && Peek() != '}') {
        Advance();
    }
    std::string_view body = in().text.substr(begin, in().pos - begin);
    if (AtEnd()) {
        diag_.Error(start, "Незакрытый комментарий");
        return;
    }
    Advance();
    size_t name_end = 0;
    while (name_end < body.size() && IsIdentChar(body[name_end])) {
        ++name_end;
    }
    std::string name = LowerAscii(body.substr(0, name_end));
    std::string_view arg = body.substr(name_end);
    while (!arg.empty() && (arg.front() == ' ' || arg.front() == '\t')) {
        arg.remove_prefix(1);
    }
    while (!arg.empty() &&
           (arg.back() == ' ' || arg.back() == '\t' || arg.back() == '\r' || arg.back() == '\n')) {
        arg.remove_suffix(1);
    }
    if ((name == "i" || name == "include") && !arg.empty() && arg.front() != '+' && arg.front() != '-') {
        if (arg.size() >= 2 && arg.front() == '\'' && arg.back() == '\'') {
            arg = arg.substr(1, arg.size() - 2);
        }
        Include(arg, start);
        return;
    }
    std::string_view shown = body;
    while (!shown.empty() && (shown.back() == ' ' || shown.back() == '\r' || shown.back() == '\n')) {
        shown.remove_suffix(1);
    }
    diag_.Error(start, fmt::format("Compilerswitch \"{}\" unknown", shown));
}

void Lexer::Include(std::string_view name, SourcePos pos) {
    std::string not_found = fmt::format("Couldn't find file \"{}\" on input paths", name);
    if (!IsSafeIncludeName(name)) {
        diag_.Error(pos, not_found);
        return;
    }
    if (stack_.size() > kMaxIncludeDepth) {
        diag_.Error(pos, fmt::format("Слишком глубокая вложенность включаемых файлов \"{}\"", name));
        return;
    }
    for (const std::string& dir : include_dirs_) {
        std::filesystem::path path = std::filesystem::path(dir) / std::string(name);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec) || !ResolvesInside(dir, path)) {
            continue;
        }
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            continue;
        }
        std::ostringstream content;
        content << file.rdbuf();
        Input input;
        input.text = sources_.KeepFile(content.str());
        input.file = sources_.AddFile(std::string(name));
        stack_.push_back(input);
        return;
    }
    diag_.Error(pos, not_found);
}

Token Lexer::Next() {
    for (;;) {
        Token token = NextOrSkip();
        if (!(token.bad && token.kind == Tok::Eof)) {
            return token;
        }
    }
}

Token Lexer::NextOrSkip() {
    if (!SkipTrivia()) {
        Token eof;
        eof.kind = Tok::Eof;
        eof.pos = Here();
        return eof;
    }
    SourcePos start = Here();
    char c = Peek();
    if (IsIdentStart(c)) {
        return Word(start);
    }
    if (IsDigit(c)) {
        return Number(start);
    }
    if (c == '$') {
        return Hex(start);
    }
    if (c == '\'' || c == '#') {
        return StringLiteral(start);
    }
    if (IsSymbolChar(c)) {
        return Symbol(start);
    }
    // A run of characters that have no place outside strings is one error.
    while (!AtEnd() && !IsTokenStart(Peek()) && !IsBlank(Peek()) && Peek() != '{') {
        Advance();
    }
    diag_.Error(start, "Неверный символ");
    Token skipped;
    skipped.kind = Tok::Eof;
    skipped.bad = true;
    return skipped;
}

Token Lexer::Word(SourcePos start) {
    size_t begin = in().pos;
    while (!AtEnd() && IsIdentChar(Peek())) {
        Advance();
    }
    Token token;
    token.pos = start;
    token.text = in().text.substr(begin, in().pos - begin);
    token.kind = Tok::Identifier;
    // Keywords are 2 to 11 letters long and none starts with "_".
    if (token.text.size() >= 2 && token.text.size() <= 11 && token.text[0] != '_') {
        std::array<char, 16> lower{};
        for (size_t i = 0; i < token.text.size(); ++i) {
            char ch = token.text[i];
            lower[i] = (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
        }
        auto found = Keywords().find(std::string_view(lower.data(), token.text.size()));
        if (found != Keywords().end()) {
            token.kind = found->second;
        }
    }
    return token;
}

Token Lexer::Number(SourcePos start) {
    size_t begin = in().pos;
    bool is_float = false;
    while (IsDigit(Peek())) {
        Advance();
    }
    if (Peek() == '.' && IsDigit(Peek(1))) {
        is_float = true;
        Advance();
        while (IsDigit(Peek())) {
            Advance();
        }
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (IsDigit(Peek(1)) || ((Peek(1) == '+' || Peek(1) == '-') && IsDigit(Peek(2))))) {
        is_float = true;
        Advance();
        if (Peek() == '+' || Peek() == '-') {
            Advance();
        }
        while (IsDigit(Peek())) {
            Advance();
        }
    }
    Token token;
    token.pos = start;
    token.text = in().text.substr(begin, in().pos - begin);
    // A letter glued to a number ("12abc") is a malformed constant.
    if (IsIdentStart(Peek())) {
        while (!AtEnd() && IsIdentChar(Peek())) {
            Advance();
        }
        token.text = in().text.substr(begin, in().pos - begin);
        token.kind = Tok::IntLiteral;
        token.bad = true;
        diag_.Error(start, fmt::format("Неверная целочисленная константа \"{}\"", token.text));
        return token;
    }
    if (is_float) {
        token.kind = Tok::FloatLiteral;
        token.float_value = std::strtod(std::string(token.text).c_str(), nullptr);
        return token;
    }
    token.kind = Tok::IntLiteral;
    uint64_t value = 0;
    for (char digit : token.text) {
        if (value > (INT64_MAX - static_cast<uint64_t>(digit - '0')) / 10) {
            // Too large for any whole number: a Float constant, as every literal beyond an Integer.
            token.kind = Tok::FloatLiteral;
            token.float_value = std::strtod(std::string(token.text).c_str(), nullptr);
            return token;
        }
        value = value * 10 + static_cast<uint64_t>(digit - '0');
    }
    token.int_value = static_cast<int64_t>(value);
    return token;
}

Token Lexer::Hex(SourcePos start) {
    size_t begin = in().pos;
    Advance();
    uint64_t value = 0;
    int digits = 0;
    while (HexValue(Peek()) >= 0) {
        value = value * 16 + static_cast<uint64_t>(HexValue(Peek()));
        ++digits;
        Advance();
    }
    while (!AtEnd() && IsIdentChar(Peek())) {
        Advance();
        digits = 99; // letters beyond F
    }
    Token token;
    token.kind = Tok::IntLiteral;
    token.pos = start;
    token.text = in().text.substr(begin, in().pos - begin);
    if (digits == 0 || digits > 8) {
        token.bad = true;
        diag_.Error(start, fmt::format("Неверная шестнадцатеричная константа \"{}\"", token.text));
        return token;
    }
    // Eight hexadecimal digits are the bit pattern of a 32-bit Integer.
    token.int_value = static_cast<int32_t>(static_cast<uint32_t>(value));
    return token;
}

Token Lexer::StringLiteral(SourcePos start) {
    size_t begin = in().pos;
    scratch_.clear();
    Token token;
    token.kind = Tok::StringLiteral;
    token.pos = start;
    for (;;) {
        if (Peek() == '\'') {
            Advance();
            // The quoted text is UTF-8 in the source and Windows-1251 in the program.
            size_t quoted_begin = scratch_.size();
            for (;;) {
                if (AtEnd() || Peek() == '\n' || Peek() == '\r') {
                    diag_.Error(start, "End of string constant not found (end of line)");
                    token.bad = true;
                    break;
                }
                char ch = Peek();
                Advance();
                if (ch == '\'') {
                    if (Peek() == '\'') {
                        scratch_ += '\'';
                        Advance();
                        continue;
                    }
                    break;
                }
                scratch_ += ch;
            }
            if (!IsAscii(std::string_view(scratch_).substr(quoted_begin))) {
                std::string quoted = Utf8ToCp1251(std::string_view(scratch_).substr(quoted_begin));
                scratch_.resize(quoted_begin);
                scratch_ += quoted;
            }
            if (token.bad) {
                break;
            }
        } else if (Peek() == '#') {
            SourcePos char_pos = Here();
            size_t char_begin = in().pos;
            Advance();
            int64_t code = -1;
            if (Peek() == '$') {
                Advance();
                int64_t value = 0;
                int digits = 0;
                while (HexValue(Peek()) >= 0) {
                    if (digits < 4) { // longer ones are refused below; their value must not overflow
                        value = value * 16 + HexValue(Peek());
                    }
                    ++digits;
                    Advance();
                }
                code = (digits > 0 && digits <= 4) ? value : -1;
            } else if (IsDigit(Peek())) {
                int64_t value = 0;
                int digits = 0;
                while (IsDigit(Peek())) {
                    if (digits < 5) {
                        value = value * 10 + (Peek() - '0');
                    }
                    ++digits;
                    Advance();
                }
                code = digits <= 5 ? value : -1;
            }
            while (!AtEnd() && IsIdentChar(Peek())) {
                Advance();
                code = -1;
            }
            if (code < 0 || code > 255) {
                diag_.Error(char_pos, fmt::format("Неверная символная константа \"{}\"",
                                                  in().text.substr(char_begin, in().pos - char_begin)));
                token.bad = true;
                break;
            }
            scratch_ += static_cast<char>(code);
        } else {
            break;
        }
    }
    token.text = in().text.substr(begin, in().pos - begin);
    token.value = sources_.Keep(scratch_);
    return token;
}

Token Lexer::Symbol(SourcePos start) {
    Token token;
    token.pos = start;
    size_t begin = in().pos;
    char c = Peek();
    char next = Peek(1);
    size_t length = 1;
    switch (c) {
    case ':':
        token.kind = next == '=' ? Tok::Assign : Tok::Colon;
        length = next == '=' ? 2 : 1;
        break;
    case '=':
        token.kind = Tok::Equal;
        break;
    case '<':
        if (next == '>') {
            token.kind = Tok::NotEqual;
            length = 2;
        } else if (next == '=') {
            token.kind = Tok::LessEq;
            length = 2;
        } else {
            token.kind = Tok::Less;
        }
        break;
    case '>':
        token.kind = next == '=' ? Tok::GreaterEq : Tok::Greater;
        length = next == '=' ? 2 : 1;
        break;
    case '+':
        token.kind = Tok::Plus;
        break;
    case '-':
        token.kind = Tok::Minus;
        break;
    case '*':
        token.kind = Tok::Star;
        break;
    case '/':
        token.kind = Tok::Slash;
        break;
    case '(':
        token.kind = Tok::LParen;
        break;
    case ')':
        token.kind = Tok::RParen;
        break;
    case '[':
        token.kind = Tok::LBracket;
        break;
    case ']':
        token.kind = Tok::RBracket;
        break;
    case ',':
        token.kind = Tok::Comma;
        break;
    case ';':
        token.kind = Tok::Semicolon;
        break;
    case '.':
        token.kind = next == '.' ? Tok::DotDot : Tok::Dot;
        length = next == '.' ? 2 : 1;
        break;
    default:
        break;
    }
    for (size_t i = 0; i < length; ++i) {
        Advance();
    }
    token.text = in().text.substr(begin, length);
    return token;
}

std::string_view TokenSpelling(Tok kind) {
    switch (kind) {
    case Tok::Eof:
        return "конец файла";
    case Tok::Identifier:
        return "идентификатор";
    case Tok::Assign:
        return ":=";
    case Tok::Equal:
        return "=";
    case Tok::LParen:
        return "(";
    case Tok::RParen:
        return ")";
    case Tok::LBracket:
        return "[";
    case Tok::RBracket:
        return "]";
    case Tok::Comma:
        return ",";
    case Tok::Semicolon:
        return ";";
    case Tok::Colon:
        return ":";
    case Tok::Dot:
        return ".";
    case Tok::DotDot:
        return "..";
    default:
        break;
    }
    for (const auto& [word, tok] : Keywords()) {
        if (tok == kind) {
            return word;
        }
    }
    return "?";
}

} // namespace tl::script
