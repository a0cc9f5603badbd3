#include "app/palettecatalogue.h"

namespace app {

namespace {

// One text split once, in catalogue order.
const char kNames[] =
    "自定义,简单文本框,曲线,矩形,平形四边形,梯形,菱形,圆角矩形,八边形,等腰三角形,右三角,"
    "椭圆,六边形,十字形,正五边形,圆柱形,圆锥形,立方体,棱台,折角形,笑脸,同心圆,禁止符,闪电形,"
    "缺角矩形,弧,饼,弦,尺寸线,过程,可选过程,决策,数据,预定义过程,内部存贮,文档,多文档,终止,"
    "准备,人工输入,人工操作,联系,离页连接符,卡片,资料带,汇总连接,或者,对照,排序,摘录,合并,"
    "库存数据,延期,顺序访问存贮器,磁盘,直接访问存贮器,显示,矩形标注,圆角矩形标注,爆炸形1,"
    "爆炸形2,十字星,五角星,八角星,左箭头,右箭头,上箭头,下箭头,左右箭头,上下箭头,十字箭头,"
    "丁字箭头,圆角右箭头,直角上箭头,虚尾箭头,燕尾箭头,五边形箭头,燕尾,斜线,横线,竖线,"
    "左箭头横线,右箭头横线,双向箭头横线,上箭头竖线,下箭头竖线,双向箭头竖线,左上直角线,"
    "左下直角线,右上直角线,右下直角线,左上箭头直角线,左下箭头直角线,右上箭头直角线,"
    "右下箭头直角线,左上箭头横环线,左下箭头横环线,右上箭头横环线,右下箭头横环线,"
    "左上箭头竖环线,左下箭头竖环线,右上箭头竖环线,右下箭头竖环线,左上箭头横折线,"
    "左下箭头横折线,右上箭头横折线,右下箭头横折线,左上箭头竖折线,左下箭头竖折线,"
    "右上箭头竖折线,右下箭头竖折线";

} // namespace

QStringList PaletteShapeNames()
{
    return QString::fromUtf8(kNames).split(QLatin1Char(','));
}

QString PaletteCategoryBefore(int index)
{
    switch (index) {
    case 0: return QStringLiteral("基本图形");
    case 29: return QStringLiteral("流程图");
    case 57: return QStringLiteral("标注");
    case 59: return QStringLiteral("星");
    case 64: return QStringLiteral("箭头");
    case 78: return QStringLiteral("线");
    default: return QString();
    }
}

} // namespace app
