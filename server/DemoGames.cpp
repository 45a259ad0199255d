#include "server/DemoGames.h"

#include <array>

namespace ravelo::server {

namespace {

// Systems: 125 FC, 121 SFC, 120 GBA, 124 GBC, 122 MD, 127 NDS, 129 PSP, 119 PS, 126 ARCADE,
// 123 MAME, 148 PCE.
constexpr std::array<DemoGame, 64> s_games{{
    {1001, "星际突击队", "Star Assault Squad", 125, 3, 1},
    {1002, "忍者传说", "Ninja Legend", 125, 1, 2},
    {1003, "魔法城堡", "Magic Castle", 125, 5, 3},
    {1004, "超级赛车手", "Super Racer", 125, 6, 1},
    {1005, "方块大师", "Block Master", 125, 8, 3},
    {1006, "拳王争霸", "Fist Champion", 125, 2, 2},
    {1007, "雪山冒险", "Snow Mountain Adventure", 125, 5, 1},
    {1008, "绿茵小将", "Little Striker", 125, 9, 2},
    {1011, "龙之剑", "Dragon Blade", 121, 10, 2},
    {1012, "时空勇者", "Time Hero", 121, 12, 3},
    {1013, "街头斗士", "Street Brawler", 121, 2, 1},
    {1014, "银河战机", "Galaxy Fighter", 121, 3, 2},
    {1015, "赛道之王", "Track King", 121, 6, 1},
    {1016, "魔法学院", "Magic Academy", 121, 10, 4},
    {1021, "口袋骑士", "Pocket Knight", 120, 12, 3},
    {1022, "星光赛车", "Starlight Racing", 120, 6, 1},
    {1023, "忍者之路", "Path of the Ninja", 120, 1, 2},
    {1024, "宝石连连", "Gem Link", 120, 8, 3},
    {1025, "机甲战记", "Mech Chronicle", 120, 13, 2},
    {1026, "海盗宝藏", "Pirate Treasure", 120, 5, 1},
    {1031, "小精灵冒险", "Little Sprite Adventure", 124, 5, 2},
    {1032, "方块大赛", "Falling Blocks Cup", 124, 8, 1},
    {1033, "勇者与巨龙", "Hero and the Dragon", 124, 10, 2},
    {1034, "坦克突围", "Tank Breakout", 124, 3, 3},
    {1035, "网球公开赛", "Tennis Open", 124, 9, 1},
    {1041, "小巷怒火", "Alley Fury", 122, 2, 1},
    {1042, "疾风刺猬", "Swift Hedgehog", 122, 1, 1},
    {1043, "沙漠风暴", "Desert Storm Strike", 122, 3, 1},
    {1044, "光明之剑", "Sword of Light", 122, 10, 2},
    {1045, "幻影战士", "Phantom Warrior", 122, 1, 2},
    {1046, "极速飞车", "Speed Rally", 122, 6, 3},
    {1051, "料理达人", "Cooking Master", 127, 7, 3},
    {1052, "脑力挑战", "Brain Challenge", 127, 8, 2},
    {1053, "星之卡片", "Star Cards", 127, 4, 2},
    {1054, "恐龙探险队", "Dinosaur Explorers", 127, 5, 3},
    {1055, "节拍乐团", "Beat Band", 127, 14, 2},
    {1056, "英雄史诗", "Hero Saga", 127, 10, 4},
    {1061, "巨兽猎人", "Beast Hunter", 129, 12, 2},
    {1062, "峡谷赛车", "Canyon Speedway", 129, 6, 1},
    {1063, "泰坦之怒", "Wrath of the Titan", 129, 1, 1},
    {1064, "幻梦物语", "Dreamland Story", 129, 10, 2},
    {1065, "绿茵传奇", "Pitch Legends", 129, 9, 3},
    {1071, "危城求生", "City Survival", 119, 5, 1},
    {1072, "钢拳风暴", "Steel Fist Storm", 119, 2, 2},
    {1073, "潜行特工", "Stealth Agent", 119, 1, 2},
    {1074, "跑车之旅", "Grand Coupe Tour", 119, 6, 2},
    {1075, "雾影山谷", "Misty Valley", 119, 5, 1},
    {1076, "群雄逐鹿", "Rival Warlords", 119, 13, 4},
    {1081, "三国英杰", "Heroes of Three Kingdoms", 126, 1, 4},
    {1082, "钢铁突击", "Steel Commando", 126, 3, 1},
    {1083, "格斗王者", "Fighting Kings", 126, 2, 2},
    {1084, "天地霸王", "Heaven and Earth Lord", 126, 1, 4},
    {1085, "雷霆战机", "Thunder Jet", 126, 3, 2},
    {1086, "恐龙乱斗", "Dino Brawl", 126, 1, 1},
    {1091, "名将之战", "Captains at War", 123, 1, 1},
    {1092, "街区快打", "Block Fight", 123, 2, 1},
    {1093, "彩虹泡泡岛", "Rainbow Bubble Isle", 123, 8, 2},
    {1094, "空中飞龙", "Sky Dragon", 123, 3, 2},
    {1095, "麻将教室", "Mahjong Classroom", 123, 4, 2},
    {1101, "妖怪夜行", "Yokai Night Walk", 148, 1, 2},
    {1102, "星际战舰", "Star Cruiser", 148, 3, 2},
    {1103, "海岛奇遇", "Island Adventure", 148, 5, 2},
    {1104, "天外奇境", "Beyond the Heavens", 148, 10, 2},
    {1105, "弹珠台", "Pinball Hall", 148, 15, 1},
}};

constexpr std::array<DemoName, 15> s_categories{{
    {1, "动作"},
    {2, "格斗"},
    {3, "射击"},
    {4, "桌面"},
    {5, "冒险"},
    {6, "赛车"},
    {7, "模拟策略"},
    {8, "益智"},
    {9, "体育"},
    {10, "角色扮演"},
    {11, "第一人称射击"},
    {12, "动作角色扮演"},
    {13, "即时策略"},
    {14, "音乐"},
    {15, "其他"},
}};

constexpr std::array<DemoName, 4> s_languages{{
    {1, "英文"},
    {2, "日文"},
    {3, "简体中文"},
    {4, "繁体中文"},
}};

} // namespace

std::span<const DemoGame> DemoGames()
{
    return s_games;
}

std::span<const DemoName> DemoCategories()
{
    return s_categories;
}

std::span<const DemoName> DemoLanguages()
{
    return s_languages;
}

} // namespace ravelo::server
