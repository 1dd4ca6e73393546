#include "lsp/AttributeText.h"

#include <cstring>

namespace kvnode {

namespace {

std::string RowValue(const EnumText& row, bool keyword)
{
    return keyword ? Utf8(row.text, std::strlen(row.text)) : std::to_string(row.value);
}

} // namespace

const EnumTable* ValueTable(const ClassInfo& info, const AttributeInfo& attribute)
{
    if (info.IsConstruction() && attribute.name == "type")
        return info.constructionTypes;
    const AttSpec& r = attribute.reading;
    return r.type == AttType::Enumeration || r.type == AttType::Keyword ? r.table : nullptr;
}

std::string ReadingText(const AttSpec& r)
{
    if (r.names) {
        const std::string noun = Noun(r.names);
        return r.list ? "names of " + noun + "s, comma-separated" : "the name of a " + noun;
    }
    std::string text;
    switch (r.type) {
    case AttType::Text: text = r.needed ? "text or expression, needed" : "text"; break;
    case AttType::Integer: text = "integer"; break;
    case AttType::Enumeration: text = "integer, one of a table"; break;
    case AttType::IntegerList: text = "integers, comma-separated"; break;
    case AttType::NumberList: text = "numbers, comma-separated"; break;
    case AttType::Character: text = "one character"; break;
    case AttType::Keyword: text = "one of a table's words"; break;
    }
    if (r.ifEmpty)
        text += std::string("; empty reads as ") + r.ifEmpty;
    return text;
}

std::string TableText(const EnumTable& table, bool keyword)
{
    std::string text;
    for (int i = 0; i < table.count; ++i) {
        const EnumText& row = table.rows[i];
        text += "- `" + RowValue(row, keyword) + "`";
        if (!keyword)
            text += " " + Utf8(row.text, std::strlen(row.text));
        text += "\n";
    }
    return text;
}

std::string RowText(const EnumTable& table, bool keyword, const std::string& value)
{
    for (int i = 0; i < table.count; ++i)
        if (RowValue(table.rows[i], keyword) == value)
            return keyword ? value : value + "  " + Utf8(table.rows[i].text, std::strlen(table.rows[i].text));
    return std::string();
}

} // namespace kvnode
