#include "dbwsqliteschema.h"

#include <strings.h>

namespace dbwlib_detail {

namespace {

class CreateTableScanner {
public:
    explicit CreateTableScanner(const std::string& sql) : m_sql(sql) {}

    std::vector<dbwSQLiteColumn> columns() {
        std::vector<dbwSQLiteColumn> found;
        m_pos = m_sql.find('(');
        if (m_pos == std::string::npos) return found;
        ++m_pos;
        while (!atEnd() && peek() != ')') {
            skipBlanks();
            if (atEnd() || peek() == ')') break;
            bool quoted = false;
            std::string name = readName(quoted);
            if (!quoted && isTableConstraint(name)) {
                skipToColumnEnd();
            } else {
                skipBlanks();
                size_t start = m_pos;
                skipToColumnEnd();
                found.push_back({name, trimmedRight(start, m_pos)});
            }
            if (!atEnd() && peek() == ',') ++m_pos;
        }
        return found;
    }

private:
    bool atEnd() const { return m_pos >= m_sql.size(); }
    char peek() const { return m_sql[m_pos]; }
    bool isBlank(size_t i) const { return static_cast<unsigned char>(m_sql[i]) <= 32; }

    bool atComment() const { return m_sql.compare(m_pos, 2, "--") == 0 || m_sql.compare(m_pos, 2, "/*") == 0; }

    void skipComment() {
        if (m_sql.compare(m_pos, 2, "--") == 0) {
            size_t end = m_sql.find('\n', m_pos);
            m_pos = end == std::string::npos ? m_sql.size() : end + 1;
        } else {
            size_t end = m_sql.find("*/", m_pos + 2);
            m_pos = end == std::string::npos ? m_sql.size() : end + 2;
        }
    }

    // Blanks are the bytes up to 32; comments count as blanks.
    void skipBlanks() {
        while (!atEnd()) {
            if (isBlank(m_pos))
                ++m_pos;
            else if (atComment())
                skipComment();
            else
                break;
        }
    }

    static bool isIdentifierByte(char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    }

    static char closingQuote(char c) {
        switch (c) {
        case '"': return '"';
        case '`': return '`';
        case '\'': return '\'';
        case '[': return ']';
        default: return 0;
        }
    }

    // Steps over a quoted span starting at the opening quote; a doubled
    // closing quote stands for itself. Gives the text inside.
    std::string readQuoted() {
        char close = closingQuote(peek());
        std::string text;
        ++m_pos;
        while (!atEnd()) {
            char c = m_sql[m_pos++];
            if (c == close) {
                if (close != ']' && !atEnd() && peek() == close) {
                    text += close;
                    ++m_pos;
                    continue;
                }
                break;
            }
            text += c;
        }
        return text;
    }

    // A column name: letters, digits and '_', or a quoted name.
    std::string readName(bool& quoted) {
        if (!atEnd() && closingQuote(peek())) {
            quoted = true;
            return readQuoted();
        }
        size_t start = m_pos;
        while (!atEnd() && isIdentifierByte(peek())) ++m_pos;
        return m_sql.substr(start, m_pos - start);
    }

    static bool isTableConstraint(const std::string& word) {
        for (const char* keyword : {"PRIMARY", "CONSTRAINT", "UNIQUE", "CHECK", "FOREIGN"})
            if (strcasecmp(word.c_str(), keyword) == 0) return true;
        return false;
    }

    // Moves to the next ',' or ')' outside parentheses, quotes and comments.
    void skipToColumnEnd() {
        int depth = 0;
        while (!atEnd()) {
            char c = peek();
            if (closingQuote(c)) {
                readQuoted();
            } else if (atComment()) {
                skipComment();
            } else if (c == '(') {
                ++depth;
                ++m_pos;
            } else if ((c == ',' || c == ')') && depth == 0) {
                return;
            } else {
                if (c == ')') --depth;
                ++m_pos;
            }
        }
    }

    // The text [start, end) without the blanks (line breaks) that end it.
    std::string trimmedRight(size_t start, size_t end) const {
        while (end > start && isBlank(end - 1)) --end;
        return m_sql.substr(start, end - start);
    }

    const std::string& m_sql;
    size_t m_pos = 0;
};

}  // namespace

std::vector<dbwSQLiteColumn> dbwParseCreateTable(const std::string& sql) { return CreateTableScanner(sql).columns(); }

}  // namespace dbwlib_detail
