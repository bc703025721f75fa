#pragma once

#include "Generator.h"

// One generator per section kind: the chosen style index (-1: none) and the
// panel's inputs in, the code-edit text out. None of them touches a widget.

// 关联销售: four rows of product blocks built from the width and height texts.
BuildResult relatedSales(int style, const SectionInputs &inputs);
// Enabled states of cbb1 and edt6 after a click on `style`.
InputStates relatedSalesInputs(int style);

// 分隔条: heading bars in the colour and name, spanning the page width.
BuildResult dividerBar(int style, const SectionInputs &inputs);

// Sections that copy a built-in text.
BuildResult productInfo(int style, const SectionInputs &inputs);
BuildResult sizeTable(int style, const SectionInputs &inputs);
BuildResult pictureList(int style, const SectionInputs &inputs);
BuildResult productDetails(int style, const SectionInputs &inputs);
BuildResult bundleSale(int style, const SectionInputs &inputs);
BuildResult afterSales(int style, const SectionInputs &inputs);

// 优惠券: one coupon block in the colour.
BuildResult coupon(int style, const SectionInputs &inputs);
QString couponBlock(const QString &colour);

// 分割线: an empty full-width table 10, 20 or 30 pixels high.
BuildResult spacerLine(int style, const SectionInputs &inputs);

// 自定义: the memo's raw text with its paragraph and line separators turned
// into CR LF, every other character kept.
QString customSnippet(const QString &rawText);
