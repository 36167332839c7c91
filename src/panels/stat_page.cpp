#include "panels/stat_page.h"

#include <algorithm>
#include <limits>

std::string IgUnits(int32_t amount)
{
    if (amount < 1000)
        return std::to_string(amount) + "ig";
    if (amount >= 1000000)
        return std::to_string(amount / 1000000) + "Mig";
    return std::to_string(amount / 1000) + "Kig";
}

int32_t AmountFromText(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    // Accumulate past the 32-bit range only as far as saturating needs.
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), kLimit);
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(std::min(value, kLimit - 1));
}

BarReading ReadBar(int32_t current, int32_t maximum)
{
    if (maximum == 0)
        return {0, BarColour::Neutral};
    // In 64 bits: a current near the 32-bit limit times 100 must not overflow.
    const auto percent = static_cast<int>(std::clamp<int64_t>(
        int64_t{current} * 100 / maximum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    if (percent == 0 || percent >= 67)
        return {percent, BarColour::Neutral};
    if (percent >= 34)
        return {percent, BarColour::Yellow};
    return {percent, BarColour::Red};
}

StatPage::StatPage(StatsPageView& v, std::span<const Figure> f)
    : view(v)
    , figures(f)
    , values(f.size())
{
}

const Figure* StatPage::Find(std::string_view stat) const
{
    for (const Figure& figure : figures)
        if (figure.stat == stat)
            return &figure;
    return nullptr;
}

Gauge StatPage::Value(std::string_view stat) const
{
    const Figure* figure = Find(stat);
    return figure ? values[static_cast<std::size_t>(figure - figures.data())] : Gauge{};
}

const Figure* StatPage::Apply(const AttribList& attributes)
{
    const Figure* figure = Find(GetAttribute(attributes, "stat"));
    if (!figure)
        return nullptr;
    Gauge& value = values[static_cast<std::size_t>(figure - figures.data())];
    const std::string label(figure->label);
    int row = -1;
    switch (figure->kind) {
    case Figure::Gauge:
        value.maximum = GetNumberAttribute(attributes, "max", 0);
        value.current = GetNumberAttribute(attributes, "cur", 0);
        row = ShowRow(label, std::to_string(value.current) + "/" + std::to_string(value.maximum));
        if (row >= 0 && row == view.SelectedRow())
            ShowBar(std::string(figure->text), value.current, value.maximum);
        return figure;
    case Figure::IgAmount:
    case Figure::Amount:
        value.current = figure->amountFromText ? AmountFromText(GetAttribute(attributes, "amount"))
                                               : GetNumberAttribute(attributes, "amount", 0);
        if (value.current < figure->removeBelow) {
            RemoveRow(label);
            return figure;
        }
        row = ShowRow(label, figure->kind == Figure::IgAmount ? IgUnits(value.current) : std::to_string(value.current));
        break;
    case Figure::Fixed: row = ShowRow(label, std::string(figure->text)); break;
    case Figure::FrontPage: return figure;
    }
    if (row >= 0 && row == view.SelectedRow())
        ShowBar({}, 0, 100);
    return figure;
}

void StatPage::Select(const std::string& label)
{
    for (std::size_t i = 0; i < figures.size(); ++i)
        if (figures[i].kind == Figure::Gauge && figures[i].label == label && !label.empty()) {
            ShowBar(std::string(figures[i].text), values[i].current, values[i].maximum);
            return;
        }
    ShowBar({}, 0, 100);
}

void StatPage::Reset()
{
    std::fill(values.begin(), values.end(), Gauge{});
    for (int row = 0; row < kRows; ++row)
        SetRow(row, {});
    ShowBar({}, 0, 100);
}

void StatPage::ShowBar(const std::string& caption, int32_t current, int32_t maximum)
{
    const BarReading bar = ReadBar(current, maximum);
    view.ShowBar(caption, std::clamp(bar.percent, 0, 100), bar.colour);
}

int StatPage::RowFor(std::string_view label) const
{
    for (int row = 0; row < kRows; ++row) {
        const std::string& own = rows[static_cast<std::size_t>(row)].label;
        if (own == label || own.empty())
            return row;
    }
    return -1;
}

int StatPage::ShowRow(std::string_view label, const std::string& value)
{
    const int row = RowFor(label);
    if (row >= 0)
        SetRow(row, {std::string(label), value});
    return row;
}

void StatPage::RemoveRow(std::string_view label)
{
    const int row = RowFor(label);
    if (row < 0)
        return;
    SetRow(row, {});
    // The gap moves to the end; later rows shift up by one.
    for (int r = 0; r < kRows - 1; ++r) {
        const auto at = static_cast<std::size_t>(r);
        if (rows[at].label.empty() && !rows[at + 1].label.empty()) {
            SetRow(r, rows[at + 1]);
            SetRow(r + 1, {});
        }
    }
}

void StatPage::SetRow(int row, Row contents)
{
    Row& current = rows[static_cast<std::size_t>(row)];
    if (current.label == contents.label && current.value == contents.value)
        return;
    current = std::move(contents);
    view.SetRow(row, current.label, current.value);
}
