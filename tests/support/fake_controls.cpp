#include "tests/support/fake_controls.h"

#include <algorithm>
#include <stdexcept>

#include "core/codepage.h"

namespace galmora::testing {

namespace {

std::vector<Text> split_items(std::string_view caption) {
    std::vector<Text> items;
    while (!caption.empty()) {
        auto end = caption.find('\n');
        items.push_back(local_text(caption.substr(0, end)));
        if (end == std::string_view::npos) break;
        caption.remove_prefix(end + 1);
    }
    return items;
}

}  // namespace

FakeControls::FakeControls() : title_(local_text(kWindowTitle)) {
    for (const ControlDefinition& definition : window_layout()) {
        State s;
        s.definition = &definition;
        if (definition.kind == ControlKind::ComboBox) {
            s.items = split_items(definition.caption);
            s.selected = s.items.empty() ? -1 : 0;
        } else {
            s.text = local_text(definition.caption);
        }
        s.checked = definition.checked;
        s.visible = definition.visible;
        s.enabled = definition.enabled;
        s.text_colour = definition.text_colour;
        s.background_colour = definition.background_colour;
        controls_.emplace(definition.id, std::move(s));
    }
}

FakeControls::State& FakeControls::state(ControlId control) {
    auto it = controls_.find(control);
    if (it == controls_.end())
        throw std::out_of_range("no control " + std::to_string(int(control)));
    return it->second;
}

const FakeControls::State& FakeControls::state(ControlId control) const {
    return const_cast<FakeControls*>(this)->state(control);
}

void FakeControls::raise(State& s, ControlEvent event, const Text& argument) {
    auto [first, last] = s.handlers.equal_range(event);
    std::vector<Handler> handlers;
    for (auto it = first; it != last; ++it) handlers.push_back(it->second);
    for (auto& handler : handlers) handler(argument);
}

Text FakeControls::text(ControlId control) const {
    const State& s = state(control);
    if (s.definition->kind == ControlKind::ComboBox) return item_text(control, s.selected);
    return s.text;
}

void FakeControls::set_text(ControlId control, const Text& text) {
    State& s = state(control);
    if (s.definition->kind == ControlKind::ComboBox) return;  // a fixed list shows its selection
    s.text = text;
    if (s.definition->kind == ControlKind::LineEdit) raise(s, ControlEvent::ContentChanged);
}

bool FakeControls::checked(ControlId control) const {
    return state(control).checked;
}
void FakeControls::set_checked(ControlId control, bool checked) {
    state(control).checked = checked;
}

int FakeControls::selected_index(ControlId control) const {
    return state(control).selected;
}

void FakeControls::set_selected_index(ControlId control, int index) {
    State& s = state(control);
    s.selected = std::clamp(index, -1, static_cast<int>(s.items.size()) - 1);
}

Text FakeControls::item_text(ControlId control, int index) const {
    const State& s = state(control);
    if (index < 0 || index >= static_cast<int>(s.items.size())) return {};
    return s.items[index];
}

void FakeControls::append_item(ControlId control, const Text& text) {
    state(control).items.push_back(text);
}

void FakeControls::clear_items(ControlId control) {
    State& s = state(control);
    s.items.clear();
    s.selected = -1;
}

int FakeControls::item_count(ControlId control) const {
    return static_cast<int>(state(control).items.size());
}

bool FakeControls::visible(ControlId control) const {
    return state(control).visible;
}
void FakeControls::set_visible(ControlId control, bool visible) {
    state(control).visible = visible;
}
bool FakeControls::enabled(ControlId control) const {
    return state(control).enabled;
}
void FakeControls::set_enabled(ControlId control, bool enabled) {
    state(control).enabled = enabled;
}
int FakeControls::text_colour(ControlId control) const {
    return state(control).text_colour;
}
void FakeControls::set_text_colour(ControlId control, int colour) {
    state(control).text_colour = colour;
}
int FakeControls::background_colour(ControlId control) const {
    return state(control).background_colour;
}
void FakeControls::set_background_colour(ControlId control, int colour) {
    state(control).background_colour = colour;
}

void FakeControls::focus(ControlId control) {
    state(control);
    focused_ = control;
}

void FakeControls::select_all(ControlId control) {
    state(control);
    selected_all_ = control;
}

void FakeControls::set_busy(bool busy) {
    busy_ = busy;
    if (busy) ++busy_count_;
}

void FakeControls::on(ControlId control, ControlEvent event, Handler handler) {
    state(control).handlers.emplace(event, std::move(handler));
}

void FakeControls::click(ControlId control) {
    State& s = state(control);
    if (!s.enabled || !s.visible) return;
    if (s.definition->kind == ControlKind::CheckBox) s.checked = !s.checked;
    raise(s, ControlEvent::Clicked);
}

bool FakeControls::type(ControlId control, const Text& text) {
    State& s = state(control);
    if (s.definition->read_only || !s.enabled) return false;
    if (s.definition->integer_input && !std::all_of(text.begin(), text.end(), [](char c) {
            return (c >= '0' && c <= '9') || c == '-';
        }))
        return false;
    if (s.definition->max_length > 0 &&
        s.text.size() + text.size() > std::size_t(s.definition->max_length))
        return false;
    s.text += text;
    if (s.definition->kind == ControlKind::LineEdit) raise(s, ControlEvent::ContentChanged);
    return true;
}

void FakeControls::pick(ControlId control, int index) {
    State& s = state(control);
    set_selected_index(control, index);
    raise(s, ControlEvent::ItemSelected);
}

void FakeControls::drop(ControlId control, const Text& dropped) {
    State& s = state(control);
    if (!s.definition->drop_target) return;
    raise(s, ControlEvent::FilesDropped, dropped);
}

}  // namespace galmora::testing
