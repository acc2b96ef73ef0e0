#include "sqv/UserProperties.h"

#include "common/Color.h"

namespace SQC {

const std::string UserProperties::FontChanged = "View/FontChanged";
const std::string UserProperties::WVFitToWidthValueKey = "View/FitToWidthValue";
const std::string UserProperties::SSHelixColorKey = "SecondaryStructure/HelixColor";
const std::string UserProperties::SSSheetColorKey = "SecondaryStructure/SheetColor";
const std::string UserProperties::SSCoilColorKey = "SecondaryStructure/CoilColor";
const std::string UserProperties::SSGapColorKey = "SecondaryStructure/GapColor";
const std::string UserProperties::RulerDragOffset = "Ruler/DragOffset";
const std::string UserProperties::CurrSeqIndex = "View/CurrentSequenceIndex";

bool UserPropertiesBase::lookup(const std::string& key, Type type, const Value*& out) const {
    auto it = values_.find(key);
    if (it == values_.end() || it->second.type != type) return false;
    out = &it->second;
    return true;
}

bool UserPropertiesBase::GetBoolProperty(const std::string& key, bool& value) const {
    const Value* stored = nullptr;
    if (!lookup(key, Type::Bool, stored)) return false;
    value = stored->number != 0;
    return true;
}

bool UserPropertiesBase::GetIntProperty(const std::string& key, int& value) const {
    const Value* stored = nullptr;
    if (!lookup(key, Type::Int, stored)) return false;
    value = int(stored->number);
    return true;
}

bool UserPropertiesBase::GetColorProperty(const std::string& key, unsigned& value) const {
    const Value* stored = nullptr;
    if (!lookup(key, Type::Color, stored)) return false;
    value = unsigned(stored->number);
    return true;
}

bool UserPropertiesBase::GetStringProperty(const std::string& key, std::string& value) const {
    const Value* stored = nullptr;
    if (!lookup(key, Type::String, stored)) return false;
    value = stored->text;
    return true;
}

void UserPropertiesBase::SetBoolProperty(const std::string& key, bool value) {
    values_[key] = Value{Type::Bool, value ? 1 : 0, std::string()};
}

void UserPropertiesBase::SetIntProperty(const std::string& key, int value) {
    values_[key] = Value{Type::Int, value, std::string()};
}

void UserPropertiesBase::SetColorProperty(const std::string& key, unsigned value) {
    values_[key] = Value{Type::Color, static_cast<long long>(value), std::string()};
}

void UserPropertiesBase::SetStringProperty(const std::string& key, const std::string& value) {
    values_[key] = Value{Type::String, 0, value};
}

void UserPropertiesBase::RemoveProperty(const std::string& key) {
    values_.erase(key);
}

}  // namespace SQC

namespace SQC {

void SetDefaultStructureColours(UserPropertiesBase& properties) {
    properties.SetColorProperty(UserProperties::SSHelixColorKey, Common::Color(210, 40, 40).Packed());
    properties.SetColorProperty(UserProperties::SSSheetColorKey, Common::Color(220, 170, 0).Packed());
    properties.SetColorProperty(UserProperties::SSCoilColorKey, Common::Color(150, 150, 150).Packed());
    properties.SetColorProperty(UserProperties::SSGapColorKey, Common::Color(170, 170, 170).Packed());
}

}  // namespace SQC
