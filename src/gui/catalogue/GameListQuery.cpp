#include "gui/catalogue/GameListQuery.h"

#include "controls/PageNumbers.h"

#include <algorithm>
#include <climits>

namespace ravelo {

bool GameListQuery::IsAnsweredBy(const RequestParams& asked) const
{
    return asked.category == category && asked.emulator == emulator && asked.order == order &&
           asked.language == language && asked.page == page && asked.keyword == keyword;
}

int ClampPage(int requested, int total, int pageSize)
{
    return std::clamp(requested, 1, std::max(1, PageCount(total, pageSize)));
}

int ParseGameCount(const std::string& count)
{
    long long value = 0;
    std::size_t i = 0;
    while (i < count.size() && count[i] == ' ')
        ++i;
    if (i == count.size())
        return 0;
    for (; i < count.size(); ++i) {
        if (count[i] < '0' || count[i] > '9')
            return 0;
        value = std::min<long long>(value * 10 + (count[i] - '0'), INT_MAX);
    }
    return static_cast<int>(value);
}

} // namespace ravelo
