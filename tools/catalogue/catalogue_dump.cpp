#include "tools/catalogue/catalogue_dump.hpp"

#include <cstdio>

#include "platform/os/windows1252.hpp"

namespace kbh {
namespace {

JsonValue ActionJson(const PartAction& action) {
  JsonValue json = JsonObject();
  JsonAdd(json, "type", JsonInteger(static_cast<uint8_t>(action.type)));
  JsonAdd(json, "target", JsonString(HexId(action.target)));
  if (action.type == ActionType::kPosition) {
    JsonAdd(json, "x", JsonFloat(action.position.x));
    JsonAdd(json, "y", JsonFloat(action.position.y));
    JsonAdd(json, "z", JsonFloat(action.position.z));
  } else if (action.type == ActionType::kPaint) {
    JsonAdd(json, "colour", JsonString(HexId(action.paint.colour)));
    JsonAdd(json, "finish", JsonInteger(action.paint.finish));
  }
  return json;
}

JsonValue RecordJson(const PartRecord& record) {
  JsonValue json = JsonObject();
  JsonAdd(json, "text1", JsonString(Windows1252ToUtf8(record.text1)));
  JsonAdd(json, "text2", JsonString(Windows1252ToUtf8(record.text2)));
  JsonAdd(json, "text3", JsonString(Windows1252ToUtf8(record.text3)));
  JsonAdd(json, "text4", JsonString(Windows1252ToUtf8(record.text4)));
  JsonAdd(json, "text5", JsonString(Windows1252ToUtf8(record.text5)));
  JsonValue& actions = JsonAdd(json, "actions", JsonArray());
  for (const PartAction* action = record.actions.get(); action != nullptr;
       action = NextAction(action)) {
    JsonPush(actions, ActionJson(*action));
  }
  return json;
}

// The loader's tree is at most three levels deep, so recursion is safe.
JsonValue NodeJson(const CatalogueNode& node) {
  JsonValue json = JsonObject();
  JsonAdd(json, "id", JsonString(HexId(node.id)));
  JsonAdd(json, "type", JsonInteger(static_cast<uint8_t>(node.type)));
  JsonAdd(json, "name", JsonString(Windows1252ToUtf8(node.name)));
  JsonAdd(json, "record", node.record ? RecordJson(*node.record) : JsonNull());
  JsonValue& children = JsonAdd(json, "children", JsonArray());
  for (const CatalogueNode* child = node.firstChild; child != nullptr; child = child->next) {
    JsonPush(children, NodeJson(*child));
  }
  return json;
}

}  // namespace

std::string HexId(uint32_t id) {
  char text[12];
  std::snprintf(text, sizeof text, "%08X", id);
  return text;
}

JsonValue DumpCatalogue(const DataStore& store) {
  JsonValue root = JsonObject();
  JsonValue& categories = JsonAdd(root, "categories", JsonArray());
  for (const CatalogueNode* category = store.first; category != nullptr;
       category = category->next) {
    JsonPush(categories, NodeJson(*category));
  }
  return root;
}

}  // namespace kbh
