#include "host/demodb/Regions.hpp"

#include <array>

namespace skorvin::demodb {
namespace {

using namespace std::string_view_literals;

constexpr std::array beijing{"东城区"sv,   "西城区"sv, "朝阳区"sv, "丰台区"sv, "石景山区"sv, "海淀区"sv,
                             "门头沟区"sv, "房山区"sv, "通州区"sv, "顺义区"sv, "昌平区"sv,   "大兴区"sv,
                             "怀柔区"sv,   "平谷区"sv, "密云区"sv, "延庆区"sv};
constexpr std::array tianjin{"和平区"sv,   "河东区"sv, "河西区"sv, "南开区"sv, "河北区"sv, "红桥区"sv,
                             "东丽区"sv,   "西青区"sv, "津南区"sv, "北辰区"sv, "武清区"sv, "宝坻区"sv,
                             "滨海新区"sv, "宁河区"sv, "静海区"sv, "蓟州区"sv};
constexpr std::array hebei{"石家庄市"sv, "唐山市"sv, "秦皇岛市"sv, "邯郸市"sv, "邢台市"sv, "保定市"sv,
                           "张家口市"sv, "承德市"sv, "沧州市"sv,   "廊坊市"sv, "衡水市"sv};
constexpr std::array shanxi{"太原市"sv, "大同市"sv, "阳泉市"sv, "长治市"sv, "晋城市"sv, "朔州市"sv,
                            "晋中市"sv, "运城市"sv, "忻州市"sv, "临汾市"sv, "吕梁市"sv};
constexpr std::array neimenggu{"呼和浩特市"sv, "包头市"sv,     "乌海市"sv,     "赤峰市"sv,
                               "通辽市"sv,     "鄂尔多斯市"sv, "呼伦贝尔市"sv, "巴彦淖尔市"sv,
                               "乌兰察布市"sv, "兴安盟"sv,     "锡林郭勒盟"sv, "阿拉善盟"sv};
constexpr std::array liaoning{"沈阳市"sv, "大连市"sv, "鞍山市"sv, "抚顺市"sv, "本溪市"sv, "丹东市"sv, "锦州市"sv,
                              "营口市"sv, "阜新市"sv, "辽阳市"sv, "盘锦市"sv, "铁岭市"sv, "朝阳市"sv, "葫芦岛市"sv};
constexpr std::array jilin{"长春市"sv, "吉林市"sv, "四平市"sv, "辽源市"sv,          "通化市"sv,
                           "白山市"sv, "松原市"sv, "白城市"sv, "延边朝鲜族自治州"sv};
constexpr std::array heilongjiang{"哈尔滨市"sv, "齐齐哈尔市"sv, "鸡西市"sv,      "鹤岗市"sv,   "双鸭山市"sv,
                                  "大庆市"sv,   "伊春市"sv,     "佳木斯市"sv,    "七台河市"sv, "牡丹江市"sv,
                                  "黑河市"sv,   "绥化市"sv,     "大兴安岭地区"sv};
constexpr std::array shanghai{"黄浦区"sv, "徐汇区"sv, "长宁区"sv, "静安区"sv, "普陀区"sv,   "虹口区"sv,
                              "杨浦区"sv, "闵行区"sv, "宝山区"sv, "嘉定区"sv, "浦东新区"sv, "金山区"sv,
                              "松江区"sv, "青浦区"sv, "奉贤区"sv, "崇明区"sv};
constexpr std::array jiangsu{"南京市"sv, "无锡市"sv, "徐州市"sv, "常州市"sv, "苏州市"sv, "南通市"sv, "连云港市"sv,
                             "淮安市"sv, "盐城市"sv, "扬州市"sv, "镇江市"sv, "泰州市"sv, "宿迁市"sv};
constexpr std::array zhejiang{"杭州市"sv, "宁波市"sv, "温州市"sv, "嘉兴市"sv, "湖州市"sv, "绍兴市"sv,
                              "金华市"sv, "衢州市"sv, "舟山市"sv, "台州市"sv, "丽水市"sv};
constexpr std::array anhui{"合肥市"sv, "芜湖市"sv, "蚌埠市"sv, "淮南市"sv, "马鞍山市"sv, "淮北市"sv,
                           "铜陵市"sv, "安庆市"sv, "黄山市"sv, "滁州市"sv, "阜阳市"sv,   "宿州市"sv,
                           "六安市"sv, "亳州市"sv, "池州市"sv, "宣城市"sv};
constexpr std::array fujian{"福州市"sv, "厦门市"sv, "莆田市"sv, "三明市"sv, "泉州市"sv,
                            "漳州市"sv, "南平市"sv, "龙岩市"sv, "宁德市"sv};
constexpr std::array jiangxi{"南昌市"sv, "景德镇市"sv, "萍乡市"sv, "九江市"sv, "新余市"sv, "鹰潭市"sv,
                             "赣州市"sv, "吉安市"sv,   "宜春市"sv, "抚州市"sv, "上饶市"sv};
constexpr std::array shandong{"济南市"sv, "青岛市"sv, "淄博市"sv, "枣庄市"sv, "东营市"sv, "烟台市"sv,
                              "潍坊市"sv, "济宁市"sv, "泰安市"sv, "威海市"sv, "日照市"sv, "临沂市"sv,
                              "德州市"sv, "聊城市"sv, "滨州市"sv, "菏泽市"sv};
constexpr std::array henan{"郑州市"sv, "开封市"sv, "洛阳市"sv, "平顶山市"sv, "安阳市"sv,   "鹤壁市"sv,
                           "新乡市"sv, "焦作市"sv, "濮阳市"sv, "许昌市"sv,   "漯河市"sv,   "三门峡市"sv,
                           "南阳市"sv, "商丘市"sv, "信阳市"sv, "周口市"sv,   "驻马店市"sv, "济源市"sv};
constexpr std::array hubei{"武汉市"sv,
                           "黄石市"sv,
                           "十堰市"sv,
                           "宜昌市"sv,
                           "襄阳市"sv,
                           "鄂州市"sv,
                           "荆门市"sv,
                           "孝感市"sv,
                           "荆州市"sv,
                           "黄冈市"sv,
                           "咸宁市"sv,
                           "随州市"sv,
                           "恩施土家族苗族自治州"sv,
                           "仙桃市"sv,
                           "潜江市"sv,
                           "天门市"sv,
                           "神农架林区"sv};
constexpr std::array hunan{
    "长沙市"sv,   "株洲市"sv, "湘潭市"sv, "衡阳市"sv, "邵阳市"sv, "岳阳市"sv, "常德市"sv,
    "张家界市"sv, "益阳市"sv, "郴州市"sv, "永州市"sv, "怀化市"sv, "娄底市"sv, "湘西土家族苗族自治州"sv};
constexpr std::array guangdong{"广州市"sv, "韶关市"sv, "深圳市"sv, "珠海市"sv, "汕头市"sv, "佛山市"sv, "江门市"sv,
                               "湛江市"sv, "茂名市"sv, "肇庆市"sv, "惠州市"sv, "梅州市"sv, "汕尾市"sv, "河源市"sv,
                               "阳江市"sv, "清远市"sv, "东莞市"sv, "中山市"sv, "潮州市"sv, "揭阳市"sv, "云浮市"sv};
constexpr std::array guangxi{"南宁市"sv, "柳州市"sv, "桂林市"sv, "梧州市"sv, "北海市"sv, "防城港市"sv, "钦州市"sv,
                             "贵港市"sv, "玉林市"sv, "百色市"sv, "贺州市"sv, "河池市"sv, "来宾市"sv,   "崇左市"sv};
constexpr std::array hainan{"海口市"sv, "三亚市"sv, "三沙市"sv, "儋州市"sv, "五指山市"sv,
                            "琼海市"sv, "文昌市"sv, "万宁市"sv, "东方市"sv};
constexpr std::array chongqing{"万州区"sv, "涪陵区"sv, "渝中区"sv, "大渡口区"sv, "江北区"sv, "沙坪坝区"sv, "九龙坡区"sv,
                               "南岸区"sv, "北碚区"sv, "綦江区"sv, "大足区"sv,   "渝北区"sv, "巴南区"sv,   "黔江区"sv,
                               "长寿区"sv, "江津区"sv, "合川区"sv, "永川区"sv,   "南川区"sv, "璧山区"sv,   "铜梁区"sv,
                               "潼南区"sv, "荣昌区"sv, "开州区"sv, "梁平区"sv,   "武隆区"sv};
constexpr std::array sichuan{"成都市"sv,
                             "自贡市"sv,
                             "攀枝花市"sv,
                             "泸州市"sv,
                             "德阳市"sv,
                             "绵阳市"sv,
                             "广元市"sv,
                             "遂宁市"sv,
                             "内江市"sv,
                             "乐山市"sv,
                             "南充市"sv,
                             "眉山市"sv,
                             "宜宾市"sv,
                             "广安市"sv,
                             "达州市"sv,
                             "雅安市"sv,
                             "巴中市"sv,
                             "资阳市"sv,
                             "阿坝藏族羌族自治州"sv,
                             "甘孜藏族自治州"sv,
                             "凉山彝族自治州"sv};
constexpr std::array guizhou{"贵阳市"sv,
                             "六盘水市"sv,
                             "遵义市"sv,
                             "安顺市"sv,
                             "毕节市"sv,
                             "铜仁市"sv,
                             "黔西南布依族苗族自治州"sv,
                             "黔东南苗族侗族自治州"sv,
                             "黔南布依族苗族自治州"sv};
constexpr std::array yunnan{"昆明市"sv,
                            "曲靖市"sv,
                            "玉溪市"sv,
                            "保山市"sv,
                            "昭通市"sv,
                            "丽江市"sv,
                            "普洱市"sv,
                            "临沧市"sv,
                            "楚雄彝族自治州"sv,
                            "红河哈尼族彝族自治州"sv,
                            "文山壮族苗族自治州"sv,
                            "西双版纳傣族自治州"sv,
                            "大理白族自治州"sv,
                            "德宏傣族景颇族自治州"sv,
                            "怒江傈僳族自治州"sv,
                            "迪庆藏族自治州"sv};
constexpr std::array xizang{"拉萨市"sv, "日喀则市"sv, "昌都市"sv, "林芝市"sv, "山南市"sv, "那曲市"sv, "阿里地区"sv};
constexpr std::array shaanxi{"西安市"sv, "铜川市"sv, "宝鸡市"sv, "咸阳市"sv, "渭南市"sv,
                             "延安市"sv, "汉中市"sv, "榆林市"sv, "安康市"sv, "商洛市"sv};
constexpr std::array gansu{"兰州市"sv, "嘉峪关市"sv, "金昌市"sv,         "白银市"sv,        "天水市"sv,
                           "武威市"sv, "张掖市"sv,   "平凉市"sv,         "酒泉市"sv,        "庆阳市"sv,
                           "定西市"sv, "陇南市"sv,   "临夏回族自治州"sv, "甘南藏族自治州"sv};
constexpr std::array qinghai{"西宁市"sv,         "海东市"sv,         "海北藏族自治州"sv, "黄南藏族自治州"sv,
                             "海南藏族自治州"sv, "果洛藏族自治州"sv, "玉树藏族自治州"sv, "海西蒙古族藏族自治州"sv};
constexpr std::array ningxia{"银川市"sv, "石嘴山市"sv, "吴忠市"sv, "固原市"sv, "中卫市"sv};
constexpr std::array xinjiang{"乌鲁木齐市"sv,
                              "克拉玛依市"sv,
                              "吐鲁番市"sv,
                              "哈密市"sv,
                              "昌吉回族自治州"sv,
                              "博尔塔拉蒙古自治州"sv,
                              "巴音郭楞蒙古自治州"sv,
                              "阿克苏地区"sv,
                              "克孜勒苏柯尔克孜自治州"sv,
                              "喀什地区"sv,
                              "和田地区"sv,
                              "伊犁哈萨克自治州"sv,
                              "塔城地区"sv,
                              "阿勒泰地区"sv,
                              "石河子市"sv};
constexpr std::array taiwan{"台北市"sv, "新北市"sv, "桃园市"sv, "台中市"sv, "台南市"sv,
                            "高雄市"sv, "基隆市"sv, "新竹市"sv, "嘉义市"sv};
constexpr std::array xianggang{"中西区"sv,   "湾仔区"sv,   "东区"sv,   "南区"sv,   "油尖旺区"sv, "深水埗区"sv,
                               "九龙城区"sv, "黄大仙区"sv, "观塘区"sv, "荃湾区"sv, "屯门区"sv,   "元朗区"sv,
                               "北区"sv,     "大埔区"sv,   "西贡区"sv, "沙田区"sv, "葵青区"sv,   "离岛区"sv};
constexpr std::array aomen{"花地玛堂区"sv, "圣安多尼堂区"sv, "大堂区"sv,      "望德堂区"sv,
                           "风顺堂区"sv,   "嘉模堂区"sv,     "圣方济各堂区"sv};

// Weights give the capital about a sixth of the nation's candidates, so that the
// demo installation (Beijing) opens on a list of a few thousand.
const std::array<Region, 34> all{{
    {"11", "北京市", 160, beijing},
    {"12", "天津市", 24, tianjin},
    {"13", "河北省", 40, hebei},
    {"14", "山西省", 24, shanxi},
    {"15", "内蒙古自治区", 16, neimenggu},
    {"21", "辽宁省", 28, liaoning},
    {"22", "吉林省", 16, jilin},
    {"23", "黑龙江省", 20, heilongjiang},
    {"31", "上海市", 40, shanghai},
    {"32", "江苏省", 56, jiangsu},
    {"33", "浙江省", 44, zhejiang},
    {"34", "安徽省", 32, anhui},
    {"35", "福建省", 28, fujian},
    {"36", "江西省", 24, jiangxi},
    {"37", "山东省", 52, shandong},
    {"41", "河南省", 48, henan},
    {"42", "湖北省", 40, hubei},
    {"43", "湖南省", 36, hunan},
    {"44", "广东省", 64, guangdong},
    {"45", "广西壮族自治区", 24, guangxi},
    {"46", "海南省", 8, hainan},
    {"50", "重庆市", 28, chongqing},
    {"51", "四川省", 44, sichuan},
    {"52", "贵州省", 16, guizhou},
    {"53", "云南省", 20, yunnan},
    {"54", "西藏自治区", 4, xizang},
    {"61", "陕西省", 32, shaanxi},
    {"62", "甘肃省", 16, gansu},
    {"63", "青海省", 4, qinghai},
    {"64", "宁夏回族自治区", 4, ningxia},
    {"65", "新疆维吾尔自治区", 12, xinjiang},
    {"71", "台湾省", 2, taiwan},
    {"81", "香港特别行政区", 2, xianggang},
    {"82", "澳门特别行政区", 1, aomen},
}};

} // namespace

std::span<const Region> regions()
{
    return all;
}

} // namespace skorvin::demodb
