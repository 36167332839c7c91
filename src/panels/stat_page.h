#pragma once
// One page of figures: the rules both statistics records share. Rows of the
// 2 x 8 grid are taken in the order figures first arrive, removed rows close
// up, and the bar shows the selected figure as a percentage.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "panels/panel_views.h"
#include "markup/xml.h"

// A money figure: below 1000 in ig, then truncated to Kig, from a million Mig.
std::string IgUnits(int32_t amount);
// Decimal text as the game writes it: leading blanks and a sign, digits up
// to the first other character, empty gives 0; beyond 32 bits it saturates.
int32_t AmountFromText(std::string_view text);

struct BarReading {
    int percent;
    BarColour colour;
    bool operator==(const BarReading&) const = default;
};
// current of maximum; a maximum of 0 reads 0 % in the neutral colour, and a
// negative percentage is red.
BarReading ReadBar(int32_t current, int32_t maximum);

struct Gauge {
    int32_t current = 0;
    int32_t maximum = 0;
};

struct Figure {
    enum Kind {
        Gauge, // "cur"/"max", shown current "/" maximum, with its bar caption
        IgAmount, // "amount" in ig units
        Amount, // "amount" as a decimal number
        Fixed, // a fixed text
        FrontPage, // brings the page to the front
    };
    std::string_view stat;
    std::string_view label;
    Kind kind;
    // Gauge: the bar caption. Fixed: the text shown.
    std::string_view text = {};
    // Amounts: read as text (saturating) rather than as a scanner number.
    bool amountFromText = false;
    // Amounts below this remove the row.
    int32_t removeBelow = INT32_MIN;
};

class StatPage {
public:
    StatPage(StatsPageView& view, std::span<const Figure> figures);

    // Stores the figure the element's "stat" names and shows it or removes
    // its row. Returns that figure, or nullptr for a stat it does not know.
    const Figure* Apply(const AttribList& attributes);
    // The selected grid row's label: its bar, or an empty one.
    void Select(const std::string& label);
    // Every figure 0, every row empty, the bar empty.
    void Reset();
    void ShowBar(const std::string& caption, int32_t current, int32_t maximum);

    Gauge Value(std::string_view stat) const;
    const std::string& RowLabel(int row) const { return rows[static_cast<std::size_t>(row)].label; }

    static constexpr int kRows = 8;

private:
    struct Row {
        std::string label;
        std::string value;
    };
    const Figure* Find(std::string_view stat) const;
    int RowFor(std::string_view label) const;
    int ShowRow(std::string_view label, const std::string& value);
    void RemoveRow(std::string_view label);
    void SetRow(int row, Row contents);

    StatsPageView& view;
    std::span<const Figure> figures;
    std::vector<::Gauge> values;
    std::array<Row, kRows> rows;
};
