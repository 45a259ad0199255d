#include "download/AddTaskResult.h"

#include "platform/Translate.h"

namespace ravelo {

std::string AddTaskFailureText(AddTaskResult result)
{
    switch (result) {
    case AddTaskResult::Added:
        return std::string();
    case AddTaskResult::NotStarted:
        return Tr("下载服务尚未启动");
    case AddTaskResult::Busy:
        return Tr("下载服务正忙,请稍后再试");
    case AddTaskResult::AlreadyAdded:
        return Tr("该游戏已在下载列表中");
    case AddTaskResult::NoGamesFolder:
        return Tr("尚未设置游戏目录,请检查游戏目录设置");
    case AddTaskResult::BadGameId:
        return Tr("游戏编号无效");
    case AddTaskResult::BadSystemName:
        return Tr("游戏信息无法读取:所属系统无效");
    }
    return Tr("未知错误");
}

} // namespace ravelo
