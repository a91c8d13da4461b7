#include "host/demodb/Names.hpp"

#include "host/demodb/Random.hpp"

#include <array>
#include <string_view>

namespace skorvin::demodb {
namespace {

using namespace std::string_view_literals;

constexpr std::array surnames{
    "王"sv, "李"sv, "张"sv, "刘"sv, "陈"sv, "杨"sv, "黄"sv, "赵"sv, "吴"sv, "周"sv, "徐"sv, "孙"sv, "马"sv,
    "朱"sv, "胡"sv, "郭"sv, "何"sv, "高"sv, "林"sv, "罗"sv, "郑"sv, "梁"sv, "谢"sv, "宋"sv, "唐"sv, "许"sv,
    "韩"sv, "冯"sv, "邓"sv, "曹"sv, "彭"sv, "曾"sv, "肖"sv, "田"sv, "董"sv, "袁"sv, "潘"sv, "于"sv, "蒋"sv,
    "蔡"sv, "余"sv, "杜"sv, "叶"sv, "程"sv, "苏"sv, "魏"sv, "吕"sv, "丁"sv, "任"sv, "沈"sv, "姚"sv, "卢"sv,
    "姜"sv, "崔"sv, "钟"sv, "谭"sv, "陆"sv, "汪"sv, "范"sv, "金"sv, "石"sv, "廖"sv, "贾"sv, "夏"sv, "韦"sv,
    "付"sv, "方"sv, "白"sv, "邹"sv, "孟"sv, "熊"sv, "秦"sv, "邱"sv, "江"sv, "尹"sv, "薛"sv, "闫"sv, "段"sv,
    "雷"sv, "侯"sv, "龙"sv, "史"sv, "陶"sv, "黎"sv, "贺"sv, "顾"sv, "毛"sv, "郝"sv, "龚"sv, "邵"sv, "万"sv,
    "钱"sv, "严"sv, "覃"sv, "武"sv, "戴"sv, "莫"sv, "孔"sv, "向"sv, "汤"sv};

constexpr std::array compoundSurnames{"欧阳"sv, "司马"sv, "诸葛"sv, "上官"sv, "司徒"sv, "东方"sv};

constexpr std::array givenChars{
    "伟"sv, "芳"sv, "娜"sv, "秀"sv, "敏"sv, "静"sv, "丽"sv, "强"sv, "磊"sv, "军"sv, "洋"sv, "勇"sv, "艳"sv,
    "杰"sv, "娟"sv, "涛"sv, "明"sv, "超"sv, "霞"sv, "平"sv, "刚"sv, "桂"sv, "英"sv, "华"sv, "玉"sv, "文"sv,
    "辉"sv, "建"sv, "国"sv, "林"sv, "红"sv, "梅"sv, "鹏"sv, "飞"sv, "晨"sv, "婷"sv, "雪"sv, "琳"sv, "浩"sv,
    "宇"sv, "轩"sv, "子"sv, "涵"sv, "欣"sv, "怡"sv, "梓"sv, "博"sv, "思"sv, "佳"sv, "嘉"sv, "俊"sv, "天"sv,
    "昊"sv, "然"sv, "睿"sv, "泽"sv, "雨"sv, "萱"sv, "晓"sv, "东"sv, "海"sv, "波"sv, "宁"sv, "志"sv, "鑫"sv,
    "凯"sv, "斌"sv, "瑞"sv, "颖"sv, "倩"sv, "璐"sv, "阳"sv, "帆"sv, "晶"sv, "慧"sv, "莉"sv, "宏"sv, "亮"sv,
    "成"sv, "永"sv, "春"sv, "秋"sv, "冬"sv, "兰"sv, "凤"sv, "燕"sv, "鸿"sv, "翔"sv, "晴"sv, "铭"sv, "彬"sv,
    "丹"sv, "蕾"sv, "薇"sv, "清"sv, "远"sv, "德"sv, "福"sv, "安"sv, "新"sv, "诗"sv, "语"sv, "家"sv, "一"sv};

template <std::size_t N> std::string_view pick(Random& random, const std::array<std::string_view, N>& table)
{
    return table[random.below(N)];
}

} // namespace

std::string personName(Random& random)
{
    std::string name(random.below(50) == 0 ? pick(random, compoundSurnames) : pick(random, surnames));
    name += pick(random, givenChars);
    if (random.below(10) < 7) {
        name += pick(random, givenChars);
    }
    return name;
}

} // namespace skorvin::demodb
