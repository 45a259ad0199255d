#include "store/DbCommand.h"

#include <type_traits>

namespace ravelo {

DbCommand::Payload DbCommand::Box(DbArgument&& argument)
{
    return std::visit(
        [](auto&& value) -> Payload {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::monostate> || std::is_same_v<T, std::string>)
                return std::move(value);
            else
                return std::make_unique<T>(std::move(value));
        },
        std::move(argument));
}

} // namespace ravelo
