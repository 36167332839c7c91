#include "base/screen_fit.h"

#include <algorithm>

ScreenFit::ScreenFit(const QRect& area)
    : available(area)
{
}

QSize ScreenFit::WindowSize(const QSize& stored, const QSize& minimum) const
{
    const auto fit = [](int value, int least, int most) { return std::max(1, std::min(std::max(value, least), most)); };
    return {fit(stored.width(), minimum.width(), available.width()),
        fit(stored.height(), minimum.height(), available.height())};
}

QPoint ScreenFit::CentredPosition(const QSize& size) const
{
    const int left = available.left() + (available.width() - size.width()) / 2;
    const int top = available.top() + (available.height() - size.height()) / 2;
    return {std::max(available.left(), left), std::max(available.top(), top)};
}

int ScreenFit::PanelHeight(int stored) const
{
    return std::clamp(stored, 1, std::max(1, available.height()));
}

int ScreenFit::TextHeight(int64_t stored) const
{
    return static_cast<int>(std::clamp<int64_t>(stored, 1, std::max(1, available.height() / 4)));
}
