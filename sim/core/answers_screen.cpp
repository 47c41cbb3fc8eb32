// Rectangles, styled text and the notification feed: recorded as the frame's screen output.
#include <cstring>

#include "sim/core/native_answers.h"

namespace sim::answers {

void DrawRect(World& world, const CallArguments& a, CallResult&) {
  world.screen.order.push_back({ScreenItem::Kind::Rect, static_cast<uint32_t>(world.screen.rects.size())});
  world.screen.rects.push_back({a.Float(0), a.Float(1), a.Float(2), a.Float(3), a.Int(4), a.Int(5), a.Int(6), a.Int(7)});
}

void SetTextFont(World& world, const CallArguments& a, CallResult&) { world.pendingStyle.font = a.Int(0); }

void SetTextScale(World& world, const CallArguments& a, CallResult&) {
  world.pendingStyle.scale = a.Float(0);
  world.pendingStyle.size = a.Float(1);
}

void SetTextColour(World& world, const CallArguments& a, CallResult&) {
  world.pendingStyle.colour = {a.Int(0), a.Int(1), a.Int(2), a.Int(3)};
}

void SetTextCentre(World& world, const CallArguments& a, CallResult&) { world.pendingStyle.centre = a.Bool(0); }

void SetTextDropShadow(World& world, const CallArguments& a, CallResult&) {
  world.pendingStyle.dropShadow = true;
  world.pendingStyle.dropShadowArgs = {a.Int(0), a.Int(1), a.Int(2), a.Int(3), a.Int(4)};
}

void SetTextEdge(World& world, const CallArguments& a, CallResult&) {
  world.pendingStyle.edge = true;
  world.pendingStyle.edgeArgs = {a.Int(0), a.Int(1), a.Int(2), a.Int(3), a.Int(4)};
}

void BeginTextDisplay(World& world, const CallArguments& a, CallResult&) {
  if (std::strcmp(a.Text(0), "STRING") != 0) ReportFault(world, "BeginTextDisplay with an entry other than STRING");
  if (world.textOpen || world.feedOpen) ReportFault(world, "BeginTextDisplay inside another text");
  world.textOpen = true;
  world.textComponents.clear();
}

void AddTextComponentString(World& world, const CallArguments& a, CallResult&) {
  if (world.textOpen) {
    world.textComponents += a.Text(0);
  } else if (world.feedOpen) {
    world.feedComponents += a.Text(0);
  } else {
    ReportFault(world, "AddTextComponentString outside a text or feed post");
  }
}

void EndTextDisplay(World& world, const CallArguments& a, CallResult&) {
  if (!world.textOpen) ReportFault(world, "EndTextDisplay without BeginTextDisplay");
  world.screen.order.push_back({ScreenItem::Kind::Text, static_cast<uint32_t>(world.screen.texts.size())});
  world.screen.texts.push_back({world.textComponents, a.Float(0), a.Float(1), world.pendingStyle});
  world.textOpen = false;
  world.textComponents.clear();
  world.pendingStyle = TextStyle{};
}

void BeginFeedPost(World& world, const CallArguments& a, CallResult&) {
  if (std::strcmp(a.Text(0), "STRING") != 0) ReportFault(world, "BeginFeedPost with an entry other than STRING");
  if (world.textOpen || world.feedOpen) ReportFault(world, "BeginFeedPost inside another text");
  world.feedOpen = true;
  world.feedComponents.clear();
}

void EndFeedPostTicker(World& world, const CallArguments&, CallResult&) {
  if (!world.feedOpen) ReportFault(world, "EndFeedPostTicker without BeginFeedPost");
  world.feed.push_back({world.frame, world.feedComponents});
  world.feedOpen = false;
  world.feedComponents.clear();
}

}  // namespace sim::answers
