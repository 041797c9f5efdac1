#include "sim/order_data.h"

#include <algorithm>
#include <cstdio>

#include "sim/sim_random.h"
#include "sim/sim_time.h"

namespace varnola::sim {
namespace {

constexpr int kFirstId = 10001;

struct Goods {
  const char* name;
  int priceCents;
};

// The goods on sale; a few names carry characters that the pages must escape.
constexpr Goods kGoods[] = {
    {"有机红枣 500g", 3980},       {"手工椴树蜂蜜", 6800},      {"云南普洱茶饼 357g", 12800},
    {"保温杯<500ml>", 8900},       {"\"老树\"白茶礼盒", 26800}, {"五常大米 5kg", 7990},
    {"宁夏枸杞 & 桂圆组合", 4500}, {"手工牛轧糖", 2990},        {"碧螺春 明前特级", 18800},
    {"黑糖姜茶 12袋", 3500},       {"野生核桃仁", 5600},        {"东北松子 罐装", 9900},
};

constexpr const char* kMembers[] = {
    "小明同学", "快乐的鱼",   "Tom&Jerry", "阿珍爱上了阿强", "sunny_day", "王大锤",
    "月光宝盒", "吃货小分队", "O'Neil",    "lily1990",       "老王",      "喵星人",
};

constexpr const char* kPackaging[] = {"标准装", "礼盒装", "简易包装", "家庭装"};
constexpr const char* kPayMethods[] = {"微信支付", "支付宝", "余额支付"};

// Family and given names; "𠮷" and "䶮" lie outside code page 936.
constexpr const char* kSurnames[] = {"张", "王", "李", "赵", "陈",   "刘",
                                     "杨", "黄", "周", "吴", "欧阳", "𠮷"};
constexpr const char* kGivenNames[] = {"伟", "芳",   "娜",   "敏", "静",   "强",
                                       "磊", "子䶮", "晓燕", "䶮", "建国", "丽"};

struct Place {
  const char* prefix;  // province and city as an address begins
  const char* city;
  const char* district;
};

constexpr Place kPlaces[] = {
    {"广东省广州市", "广州市", "天河区"}, {"广东省深圳市", "深圳市", "南山区"},
    {"浙江省杭州市", "杭州市", "西湖区"}, {"江苏省南京市", "南京市", "鼓楼区"},
    {"北京市", "北京市", "朝阳区"},       {"上海市", "上海市", "浦东新区"},
    {"四川省成都市", "成都市", "武侯区"}, {"湖北省武汉市", "武汉市", "洪山区"},
    {"陕西省西安市", "西安市", "雁塔区"},
};

constexpr const char* kStreets[] = {"文三路", "中山大道",   "人民路",   "𠮷祥路", "建设北路",
                                    "䶮山街", "科技园南路", "解放西路", "长安街"};

// Buyers' messages: a "%" is never followed by two hexadecimal digits, since the tool
// percent-decodes whole pages before it reads them.
constexpr const char* kMessages[] = {
    "请尽快发货，谢谢！",
    "周末不在家，请放门卫 & 电话联系",
    "包装要\"结实\"一点，送人的",
    "要100%正品哦",
    "It's a gift, don't include the receipt",
    "好评返现5元😊",
    "生日礼物🎂请帮忙写贺卡",
    "发顺丰 <加急>",
    "满99元包邮吗？50%的定金已付",
    "不要放辣椒🌶️ & 葱",
};

std::string Money(int cents) {
  char text[64];
  std::snprintf(text, sizeof text, "%d.%02d", cents / 100, cents % 100);
  return text;
}

std::string Digits(SplitMix64& random, int count) {
  std::string digits;
  for (int i = 0; i < count; ++i) digits += static_cast<char>('0' + random.Between(0, 9));
  return digits;
}

int PickState(SplitMix64& random) {
  const int roll = random.Between(0, 99);
  if (roll < 20) return kAwaitingPayment;
  if (roll < 50) return kAwaitingShipment;
  if (roll < 75) return kAwaitingReceipt;
  return kDone;
}

std::string TrackingNumber(SplitMix64& random) {
  const int carrier = random.Between(0, 9);
  if (carrier < 6) return "7" + Digits(random, 13);  // 汇通
  if (carrier < 8) return "YT" + Digits(random, 13);
  return "SF" + Digits(random, 12);
}

SimOrder MakeOrder(int index, std::uint64_t seed, const std::string& storeName) {
  SplitMix64 random(seed * 0x2545F4914F6CDD1DULL + static_cast<std::uint64_t>(index) + 1);
  SimOrder order;
  order.id = kFirstId + index;
  const std::int64_t created = kFirstOrderTime + index * 2400LL + random.Between(0, 2399);
  char idDigits[16];
  std::snprintf(idDigits, sizeof idDigits, "%06d", order.id % 1000000);
  order.orderNo = CompactDateTime(created) + idDigits;
  order.member = random.Percent(30) ? "user_" + Digits(random, 6) : random.Pick(kMembers);
  order.store = storeName;
  order.state = PickState(random);
  order.stateText = StateText(order.state);

  const Goods& goods = random.Pick(kGoods);
  const int quantity = random.Percent(70) ? random.Between(1, 2) : random.Between(3, 5);
  const int goodsCents = goods.priceCents * quantity;
  order.goods = goods.name;
  order.quantity = std::to_string(quantity);
  order.packaging = random.Pick(kPackaging);
  order.unitPrice = "¥" + Money(goods.priceCents);
  order.totalPrice = "¥" + Money(goodsCents);

  const bool delivered = random.Percent(80);
  order.pickupMethod = delivered ? "快递配送" : "到店自提";
  const int shippingCents = delivered && goodsCents < 9900 ? 1000 : 0;
  const int totalCents = goodsCents + shippingCents;
  order.orderTotal = "¥" + Money(totalCents);
  order.detailTotal = "¥" + Money(totalCents);

  const bool paid = order.state != kAwaitingPayment;
  order.payAmount = Money(paid ? totalCents : 0);
  order.payTime = paid ? FormatDateTime(created + random.Between(60, 1800)) : "";
  order.payMethod = paid ? random.Pick(kPayMethods) : "未支付";

  order.message = random.Percent(40) ? "" : random.Pick(kMessages);
  // One draw per statement: the order in which operands are evaluated is unspecified.
  order.consignee = random.Pick(kSurnames);
  order.consignee += random.Pick(kGivenNames);
  order.telephone = std::string("1") + "35789"[random.Between(0, 4)];
  order.telephone += Digits(random, 9);
  const Place& place = random.Pick(kPlaces);
  order.city = place.city;
  order.address = std::string(place.prefix) + place.district + random.Pick(kStreets);
  order.address += std::to_string(random.Between(1, 999)) + "号";
  const bool shipped = order.state == kAwaitingReceipt || order.state == kDone;
  if (shipped && delivered) order.trackingNo = TrackingNumber(random);
  return order;
}

}  // namespace

std::string StateText(int state) {
  switch (state) {
    case kAwaitingPayment:
      return "待付款";
    case kAwaitingShipment:
      return "待发货";
    case kAwaitingReceipt:
      return "待收货";
    case kDone:
      return "已完成";
  }
  return "未知";
}

int SimData::CountInState(int state) const {
  return static_cast<int>(std::count_if(orders.begin(), orders.end(),
                                        [state](const SimOrder& o) { return o.state == state; }));
}

const SimOrder* SimData::FindOrder(int id) const {
  const long index = static_cast<long>(id) - kFirstId;
  if (index < 0 || index >= static_cast<long>(orders.size())) return nullptr;
  return &orders[static_cast<std::size_t>(index)];
}

const SimOrder* SimData::FindByTrackingNo(const std::string& trackingNo) const {
  if (trackingNo.empty()) return nullptr;
  for (const SimOrder& order : orders) {
    if (order.trackingNo == trackingNo) return &order;
  }
  return nullptr;
}

SimData GenerateSimData(int orderCount, std::uint64_t seed) {
  SimData data;
  SplitMix64 random(seed);
  data.store.name = "Varnola优品小店";
  data.store.logoPath = "uploads/store/20190601/store_logo.png";
  data.store.goodsOnSale = static_cast<int>(std::size(kGoods));
  data.store.goodsWithdrawn = random.Between(0, 3);
  data.store.goodsInReview = random.Between(1, 5);
  data.store.goodsInWarehouse = random.Between(2, 9);
  const int count = std::clamp(orderCount, 0, kMaxOrderCount);
  data.orders.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) data.orders.push_back(MakeOrder(i, seed, data.store.name));
  return data;
}

}  // namespace varnola::sim
