#pragma once

#include <QString>

// The built-in HTML templates, embedded in the executable and read once.
// Sample addresses are filled in when a template is first loaded.
enum class TemplateId {
    Lbl003,        // 产品信息 默认模式
    LblCanshu2,    // 产品信息 右图左文
    LblCanshu3,    // 产品信息 左图右文
    LblMorenChima, // 尺码表 默认样式
    LblTuwen2,     // 图片列表 双列图文
    LblTuwen3,     // 图片列表 双列图片
    LblXijie01,    // 产品细节 默认样式
    LblDapei,      // 搭配销售
    LblBidu,       // 卖家说明
    LblWenda,      // 自助问答
};

const QString &templateText(TemplateId id);
