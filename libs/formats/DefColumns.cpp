#include "formats/DefColumns.h"

#include "base/Paths.h"
#include "formats/DefNumberText.h"
#include "formats/DefVocabulary.h"

namespace slipway {

namespace {

constexpr std::array<std::string_view, kDefFieldCount> kFieldNames = {
    "Class", "Type", "File", "X", "Y", "Z", "Ax", "Ay", "Az", "Link"};

struct FieldColumns {
    DefField field;
    DefColumn code;
    std::optional<DefColumn> name;
};

const std::array<FieldColumns, kDefFieldCount>& fieldColumns() {
    using K = DefColumnKind;
    constexpr auto C = ColumnAlign::Center;
    static const std::array<FieldColumns, kDefFieldCount> table = {{
        {DefField::Class, {K::Class, "Class", C, 45}, DefColumn{K::ClassName, "Class Name", C, 70}},
        {DefField::Type, {K::Type, "Type", C, 45}, DefColumn{K::TypeName, "Type Name", C, 70}},
        {DefField::File, {K::File, "File", ColumnAlign::Left, 80}, std::nullopt},
        {DefField::X, {K::X, "X", C, 50}, std::nullopt},
        {DefField::Y, {K::Y, "Y", C, 50}, std::nullopt},
        {DefField::Z, {K::Z, "Z", C, 50}, std::nullopt},
        {DefField::Ax, {K::Ax, "Ax", C, 50}, std::nullopt},
        {DefField::Ay, {K::Ay, "Ay", C, 50}, std::nullopt},
        {DefField::Az, {K::Az, "Az", C, 50}, std::nullopt},
        {DefField::Link, {K::Link, "Link", C, 50}, std::nullopt},
    }};
    return table;
}

}  // namespace

std::string_view defFieldName(DefField field) {
    return kFieldNames[static_cast<std::size_t>(field)];
}

std::optional<DefField> defFieldFromName(std::string_view name) {
    for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
        if (equalsIgnoringCase(kFieldNames[i], name))
            return static_cast<DefField>(i);
    }
    return std::nullopt;
}

std::vector<DefColumn> defListColumns(const ColumnSettings& settings, bool beforeAnyFile) {
    std::vector<DefColumn> columns{{DefColumnKind::Num, "Num", ColumnAlign::Left, 35}};
    for (const FieldColumns& f : fieldColumns()) {
        if (!settings[f.field])
            continue;
        DefColumn code = f.code;
        if (beforeAnyFile && f.field == DefField::File) {
            code.align = ColumnAlign::Center;
            code.width = 70;
        }
        columns.push_back(code);
        if (f.name)
            columns.push_back(*f.name);
    }
    return columns;
}

ColumnMap columnMap(const ColumnSettings& settings) {
    ColumnMap map;
    int next = 1;  // after "Num"
    for (const FieldColumns& f : fieldColumns()) {
        const auto i = static_cast<std::size_t>(f.field);
        if (!settings[f.field]) {
            map.column[i] = -1;
            continue;
        }
        map.column[i] = next;
        next += f.name ? 2 : 1;
    }
    return map;
}

std::optional<DefField> fieldAtColumn(const ColumnMap& map, int column) {
    if (column <= 0)
        return std::nullopt;
    for (std::size_t i = 0; i < kDefFieldCount; ++i) {
        if (map.column[i] == column)
            return static_cast<DefField>(i);
    }
    return std::nullopt;
}

std::string defCellText(const DefRecord& r, DefColumnKind kind) {
    switch (kind) {
        case DefColumnKind::Num:
            return formatDefInt(r.Num);
        case DefColumnKind::Class:
            return formatDefInt(r.Class);
        case DefColumnKind::ClassName:
            return std::string(defClassName(r.Class));
        case DefColumnKind::Type:
            return formatDefInt(r.Type);
        case DefColumnKind::TypeName:
            return std::string(defTypeName(r.Class, r.Type));
        case DefColumnKind::File:
            return defFileName(r);
        case DefColumnKind::X:
            return formatDefFloat(r.X);
        case DefColumnKind::Y:
            return formatDefFloat(r.Y);
        case DefColumnKind::Z:
            return formatDefFloat(r.Z);
        case DefColumnKind::Ax:
            return formatDefFloat(r.Ax);
        case DefColumnKind::Ay:
            return formatDefFloat(r.Ay);
        case DefColumnKind::Az:
            return formatDefFloat(r.Az);
        case DefColumnKind::Link:
            return formatDefInt(r.Link);
    }
    return {};
}

}  // namespace slipway
