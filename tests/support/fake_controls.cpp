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
    for (const ControlSpec& spec : window_layout()) {
        State s;
        s.spec = &spec;
        if (spec.kind == ControlKind::ComboBox) {
            s.items = split_items(spec.caption);
            s.selected = s.items.empty() ? -1 : 0;
        } else {
            s.text = local_text(spec.caption);
        }
        s.checked = spec.checked;
        s.visible = spec.visible;
        s.enabled = spec.enabled;
        s.text_colour = spec.text_colour;
        s.background_colour = spec.background_colour;
        controls_.emplace(std::string(spec.name), std::move(s));
    }
}

FakeControls::State& FakeControls::state(std::string_view name) {
    auto it = controls_.find(name);
    if (it == controls_.end()) throw std::out_of_range("no control named " + std::string(name));
    return it->second;
}

const FakeControls::State& FakeControls::state(std::string_view name) const {
    return const_cast<FakeControls*>(this)->state(name);
}

void FakeControls::raise(State& s, ControlEvent event, const Text& argument) {
    auto [first, last] = s.handlers.equal_range(event);
    std::vector<Handler> handlers;
    for (auto it = first; it != last; ++it) handlers.push_back(it->second);
    for (auto& handler : handlers) handler(argument);
}

Text FakeControls::text(std::string_view name) const {
    const State& s = state(name);
    if (s.spec->kind == ControlKind::ComboBox) return item_text(name, s.selected);
    return s.text;
}

void FakeControls::set_text(std::string_view name, const Text& text) {
    State& s = state(name);
    if (s.spec->kind == ControlKind::ComboBox) return;  // a fixed list shows its selection
    s.text = text;
    if (s.spec->kind == ControlKind::LineEdit) raise(s, ControlEvent::ContentChanged);
}

bool FakeControls::checked(std::string_view name) const { return state(name).checked; }
void FakeControls::set_checked(std::string_view name, bool checked) {
    state(name).checked = checked;
}

int FakeControls::selected_index(std::string_view name) const { return state(name).selected; }

void FakeControls::set_selected_index(std::string_view name, int index) {
    State& s = state(name);
    s.selected = std::clamp(index, -1, static_cast<int>(s.items.size()) - 1);
}

Text FakeControls::item_text(std::string_view name, int index) const {
    const State& s = state(name);
    if (index < 0 || index >= static_cast<int>(s.items.size())) return {};
    return s.items[index];
}

void FakeControls::append_item(std::string_view name, const Text& text) {
    state(name).items.push_back(text);
}

void FakeControls::clear_items(std::string_view name) {
    State& s = state(name);
    s.items.clear();
    s.selected = -1;
}

int FakeControls::item_count(std::string_view name) const {
    return static_cast<int>(state(name).items.size());
}

bool FakeControls::visible(std::string_view name) const { return state(name).visible; }
void FakeControls::set_visible(std::string_view name, bool visible) {
    state(name).visible = visible;
}
bool FakeControls::enabled(std::string_view name) const { return state(name).enabled; }
void FakeControls::set_enabled(std::string_view name, bool enabled) {
    state(name).enabled = enabled;
}
int FakeControls::text_colour(std::string_view name) const { return state(name).text_colour; }
void FakeControls::set_text_colour(std::string_view name, int colour) {
    state(name).text_colour = colour;
}
int FakeControls::background_colour(std::string_view name) const {
    return state(name).background_colour;
}
void FakeControls::set_background_colour(std::string_view name, int colour) {
    state(name).background_colour = colour;
}

void FakeControls::focus(std::string_view name) {
    state(name);
    focused_ = std::string(name);
}

void FakeControls::select_all(std::string_view name) {
    state(name);
    selected_all_ = std::string(name);
}

void FakeControls::set_busy(bool busy) {
    busy_ = busy;
    if (busy) ++busy_count_;
}

void FakeControls::on(std::string_view name, ControlEvent event, Handler handler) {
    state(name).handlers.emplace(event, std::move(handler));
}

void FakeControls::click(std::string_view name) {
    State& s = state(name);
    if (!s.enabled || !s.visible) return;
    if (s.spec->kind == ControlKind::CheckBox) s.checked = !s.checked;
    raise(s, ControlEvent::Clicked);
}

bool FakeControls::type(std::string_view name, const Text& text) {
    State& s = state(name);
    if (s.spec->read_only || !s.enabled) return false;
    if (s.spec->integer_input &&
        !std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '-'; }))
        return false;
    if (s.spec->max_length > 0 && s.text.size() + text.size() > std::size_t(s.spec->max_length))
        return false;
    s.text += text;
    if (s.spec->kind == ControlKind::LineEdit) raise(s, ControlEvent::ContentChanged);
    return true;
}

void FakeControls::pick(std::string_view name, int index) {
    State& s = state(name);
    set_selected_index(name, index);
    raise(s, ControlEvent::ItemSelected);
}

void FakeControls::drop(std::string_view name, const Text& dropped) {
    State& s = state(name);
    if (!s.spec->drop_target) return;
    raise(s, ControlEvent::FilesDropped, dropped);
}

}  // namespace galmora::testing
