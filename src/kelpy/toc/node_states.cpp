#include "kelpy/toc/node_states.h"
#include "com/error.h"
#include "com/vbnum.h"

namespace kelpy {

void NodeStates::Redim(int16_t upper) {
    if (upper < 0) com::raise(com::CTL_E_SUBSCRIPTOUTOFRANGE);
    entries_.emplace(size_t(upper) + 1);
    reindex();
}

int16_t NodeStates::UBound() const {
    if (!entries_) com::raise(com::CTL_E_SUBSCRIPTOUTOFRANGE, L"The expanded-state memory does not exist yet");
    return com::to_int16(static_cast<long long>(entries_->size()) - 1);
}

void NodeStates::check(int i) const {
    if (i < 0 || i > UBound()) com::raise(com::CTL_E_SUBSCRIPTOUTOFRANGE);
}

const NodeState& NodeStates::operator[](int i) const {
    check(i);
    return (*entries_)[size_t(i)];
}

void NodeStates::Set(int i, std::wstring text, bool expanded) {
    check(i);
    NodeState& e = (*entries_)[size_t(i)];
    e.Expanded = expanded;
    if (e.Text == text) return;
    e.Text = std::move(text);
    reindex();
}

void NodeStates::SetExpanded(int i, bool expanded) {
    check(i);
    (*entries_)[size_t(i)].Expanded = expanded;
}

std::optional<int16_t> NodeStates::Find(std::wstring_view text) const {
    auto it = first_.find(text);
    if (it == first_.end()) return std::nullopt;
    return it->second;
}

bool NodeStates::Remembered(std::wstring_view text) const {
    UBound();  // the memory must exist
    if (auto i = Find(text)) return (*entries_)[size_t(*i)].Expanded;
    return true;
}

void NodeStates::ReplaceHead(std::vector<NodeState> head) {
    com::to_int16(static_cast<long long>(head.size()));  // the new upper bound must be a 16-bit index
    if (head.empty()) com::raise(E_INVALIDARG, L"A snapshot has at least one entry");
    NodeState trailing;
    if (head.size() == 1 && entries_ && entries_->size() > 1) trailing = std::move((*entries_)[1]);
    head.push_back(std::move(trailing));
    entries_ = std::move(head);
    reindex();
}

void NodeStates::reindex() {
    first_.clear();
    if (!entries_) return;
    for (size_t i = 0; i < entries_->size(); ++i) first_.try_emplace((*entries_)[i].Text, int16_t(i));
}

}  // namespace kelpy
