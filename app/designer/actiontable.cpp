#include "app/designer/actiontable.h"

namespace designer {

namespace {

constexpr std::string_view kHorizontal = "水平对齐：0-默认；1-左对齐；2-居中；3-右对齐";
constexpr std::string_view kVertical = "垂直对齐：0-默认；1-顶对齐；2-居中；3-底对齐";
constexpr std::string_view kTurn = "旋转角度（单位为0.1度）";
constexpr std::string_view kMemoryIndex = "(记忆点)序号（≥0且≤9）";
constexpr std::string_view kMoveX = "x（可为-1）";
constexpr std::string_view kMoveY = "y（如上一参数为-1，则此参数为(记忆点)序号）";
constexpr std::string_view kAxisX = "x（可为-1）";
constexpr std::string_view kAxisY = "y（如x为-1，则y为(记忆点)序号）";
constexpr std::string_view kAnchorX = "定位点x坐标";
constexpr std::string_view kAnchorY = "定位点y坐标";

constexpr std::string_view kBezierRemark = "三个点决定赛尔曲线";
constexpr std::string_view kBezierMoveRemark = "三个点决定赛尔曲线，绘图完成到将当前点移至(x3,y3)";
constexpr std::string_view kCrossingRemark =
    "线弧交叉点：矩形中心点与定位点之间的连接线，与矩形内切椭圆的交点。";
constexpr std::string_view kArcRemark =
    "弧：为矩形内切椭圆的一部分，介于矩形中心点与两个定位点的连接线之间。";
constexpr std::string_view kChordRemark = "弦：弧两端点之间的连接线";

constexpr DrawingAction Box(std::string_view name, std::string_view fifth = {},
                            std::string_view remark = {})
{
    DrawingAction action{name, fifth.empty() ? 4 : 5, {"x1", "y1", "x2", "y2", fifth}, remark};
    return action;
}

constexpr DrawingAction Bezier(std::string_view name, std::string_view remark)
{
    return {name, 6, {"x1", "y1", "x2", "y2", "x3", "y3"}, remark};
}

constexpr DrawingAction Crossing(std::string_view name)
{
    return {name, 6, {"x1", "y1", "x2", "y2", kAnchorX, kAnchorY}, kCrossingRemark};
}

constexpr DrawingAction ArcTo(std::string_view name)
{
    return {name,
            6,
            {"x1", "y1", "x2", "y2", "结束定位点x坐标（起始定位点为当前点）", "结束定位点y坐标"},
            kArcRemark};
}

constexpr DrawingAction Arc(std::string_view name, std::string_view remark)
{
    return {name,
            9,
            {"x1", "y1", "x2", "y2", "起始定位点x坐标", "起始定位点y坐标", "结束定位点x坐标",
             "结束定位点y坐标", kTurn},
            remark};
}

constexpr std::array<DrawingAction, kActionCount> kActions = {{
    {"无动作", 0, {}, {}},
    Box("画直线"),
    Box("画箭头线", "箭头：0-无；1-起点；2-终点；3-两端"),
    {"移动到", 2, {kMoveX, kMoveY}, {}},
    {"画直线到", 2, {kMoveX, kMoveY}, {}},
    Bezier("画贝赛尔曲线", kBezierRemark),
    Bezier("画贝赛尔曲线并移动", kBezierMoveRemark),
    Box("画椭圆", kTurn),
    Box("画圆角矩形", "圆角半径"),
    Box("画矩形"),
    {"画文本框",
     9,
     {"x1", "y1", "x2", "y2", kHorizontal, kVertical, "字体大小比率?：通常为1",
      "风格：0-默认；1-倾斜；2-加粗；4-下划线；8-删除线", "文本框编号（≥0且≤255）"},
     {}},
    Box("画八角形", "斜角边长"),
    Box("画十字框", "拐角长度"),
    {"画直线到并移动", 2, {"x", "y"}, {}},
    Crossing("移动到线弧交叉点"),
    Crossing("画直线到线弧交叉点"),
    ArcTo("画逆时针弧到"),
    ArcTo("画顺时针弧到"),
    Arc("画弧线", kArcRemark),
    Arc("画弧", kArcRemark),
    Arc("画弦", kChordRemark),
    {"记忆当前点", 1, {kMemoryIndex}, {}},
    {"记忆线弧交叉点", 7, {"x1", "y1", "x2", "y2", kAnchorX, kAnchorY, kMemoryIndex},
     kCrossingRemark},
    {"画水平线到", 2, {kAxisX, kAxisY}, {}},
    {"到垂直线到", 2, {kAxisX, kAxisY}, {}},
    {"输出文本", 5, {"x", "y", kHorizontal, kVertical, "文本的内存地址（只能动态指定）"}, {}},
}};

} // namespace

const std::array<DrawingAction, kActionCount>& ActionTable()
{
    return kActions;
}

const DrawingAction* FindAction(int32_t code)
{
    if (code < 0 || code >= kActionCount) {
        return nullptr;
    }
    return &kActions[size_t(code)];
}

} // namespace designer
