// An in-memory registry for the interpreter's tests: a tree of keys with
// case-insensitive names, and failures that can be planted on any operation.
#pragma once
#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <vector>
#include <string>

#include "app/registration_script.h"
#include "app/registry.h"

class CMemoryRegistry : public IRegistry {
public:
    struct Node {
        std::map<std::wstring, std::unique_ptr<Node>> children;  // keyed by folded name
        std::map<std::wstring, std::wstring> names;              // folded -> as created
        std::map<std::wstring, std::wstring> values;             // folded value name -> data
        Node* parent = nullptr;
    };

    CMemoryRegistry() {
        for (const wchar_t* root : {L"HKEY_CURRENT_USER", L"HKEY_LOCAL_MACHINE", L"HKEY_CLASSES_ROOT"}) {
            m_roots[root] = std::make_unique<Node>();
        }
    }

    // Planted failures: an operation on a key or value whose folded name is listed fails.
    std::set<std::wstring> failCreate, failSetValue, failDeleteKey, failOpen;
    int openKeys = 0;
    // Every root lookup and every value written, in order, for checking what a run left.
    int rootLookups = 0;
    struct Write {
        int afterRootLookup;
        std::wstring keyPath;
        std::wstring name;
    };
    std::vector<Write> writes;

    Key RootKey(std::wstring_view name) override {
        ++rootLookups;
        for (auto& root : m_roots) {
            const std::wstring& full = root.first;
            const std::wstring shortName = full == L"HKEY_CURRENT_USER"    ? L"HKCU"
                                           : full == L"HKEY_LOCAL_MACHINE" ? L"HKLM"
                                                                           : L"HKCR";
            if (EqualsNoCase(name, full) || EqualsNoCase(name, shortName)) {
                return reinterpret_cast<Key>(root.second.get());
            }
        }
        return 0;
    }
    long OpenKey(Key parent, std::wstring_view name, bool, Key* pKey) override {
        *pKey = 0;
        Node* p = N(parent);
        if (name.empty()) {
            return Opened(p, pKey);
        }
        if (failOpen.count(Fold(name))) return kErrorAccessDenied;
        auto it = p->children.find(Fold(name));
        if (it == p->children.end()) return kErrorFileNotFound;
        return Opened(it->second.get(), pKey);
    }
    long CreateKey(Key parent, std::wstring_view name, Key* pKey) override {
        *pKey = 0;
        if (failCreate.count(Fold(name))) return kErrorAccessDenied;
        Node* p = N(parent);
        auto& slot = p->children[Fold(name)];
        if (!slot) {
            slot = std::make_unique<Node>();
            slot->parent = p;
            p->names[Fold(name)] = std::wstring(name);
        }
        return Opened(slot.get(), pKey);
    }
    long SetValue(Key key, std::wstring_view name, std::wstring_view data) override {
        if (failSetValue.count(Fold(name))) return kErrorAccessDenied;
        N(key)->values[Fold(name)] = std::wstring(data);
        writes.push_back(Write{rootLookups, PathOf(N(key)), std::wstring(name)});
        return kErrorSuccess;
    }
    long DeleteValue(Key key, std::wstring_view name) override {
        return N(key)->values.erase(Fold(name)) ? kErrorSuccess : kErrorFileNotFound;
    }
    long SubkeyCount(Key key, uint32_t* pCount) override {
        *pCount = static_cast<uint32_t>(N(key)->children.size());
        return kErrorSuccess;
    }
    long EnumSubkey(Key key, uint32_t index, wchar_t* pszName) override {
        Node* p = N(key);
        if (index >= p->children.size()) return 259;  // ERROR_NO_MORE_ITEMS
        auto it = p->children.begin();
        std::advance(it, index);
        const std::wstring& name = p->names[it->first];
        name.copy(pszName, kMaxKeyNameChars - 1);
        pszName[std::min<size_t>(name.size(), kMaxKeyNameChars - 1)] = L'\0';
        return kErrorSuccess;
    }
    long DeleteKey(Key parent, std::wstring_view name) override {
        if (failDeleteKey.count(Fold(name))) return kErrorAccessDenied;
        Node* p = N(parent);
        auto it = p->children.find(Fold(name));
        if (it == p->children.end()) return kErrorFileNotFound;
        if (!it->second->children.empty()) return kErrorAccessDenied;
        p->children.erase(it);
        p->names.erase(Fold(name));
        return kErrorSuccess;
    }
    void CloseKey(Key key) override {
        if (key != 0 && !IsRoot(N(key))) --openKeys;
    }

    // The key at a backslash-separated path below a root, or null.
    const Node* Find(const std::wstring& path, const std::wstring& root = L"HKEY_CURRENT_USER") const {
        const Node* p = m_roots.at(root).get();
        size_t start = 0;
        while (p != nullptr && start <= path.size() && !path.empty()) {
            const size_t end = path.find(L'\\', start);
            const std::wstring part = path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
            auto it = p->children.find(Fold(part));
            p = it == p->children.end() ? nullptr : it->second.get();
            if (end == std::wstring::npos) break;
            start = end + 1;
        }
        return p;
    }
    // The path of a key as "ROOT\\a\\b", for finding it again after deletions.
    std::wstring PathOf(const Node* p) const {
        std::wstring path;
        for (; p->parent != nullptr; p = p->parent) {
            path = L"\\" + p->parent->names.at(FoldOf(p)) + path;
        }
        for (auto& root : m_roots) {
            if (root.second.get() == p) return root.first + path;
        }
        return path;
    }
    bool ValueExists(const std::wstring& keyPath, const std::wstring& name) const {
        const size_t split = keyPath.find(L'\\');
        const std::wstring root = keyPath.substr(0, split);
        const Node* p = split == std::wstring::npos ? m_roots.at(root).get() : Find(keyPath.substr(split + 1), root);
        return p != nullptr && p->values.count(Fold(name)) != 0;
    }

    const wchar_t* Value(const std::wstring& path, const std::wstring& name) const {
        const Node* p = Find(path);
        if (p == nullptr) return nullptr;
        auto it = p->values.find(Fold(name));
        return it == p->values.end() ? nullptr : it->second.c_str();
    }
    // Keys and values below a root, one line each, for comparing whole trees.
    std::wstring Dump(const std::wstring& root = L"HKEY_CURRENT_USER") const {
        std::wstring out;
        DumpNode(*m_roots.at(root), L"", out);
        return out;
    }

private:
    static std::wstring Fold(std::wstring_view s) {
        std::wstring f(s);
        for (wchar_t& ch : f) {
            if (ch >= L'A' && ch <= L'Z') ch = static_cast<wchar_t>(ch - L'A' + L'a');
        }
        return f;
    }
    static Node* N(Key key) { return reinterpret_cast<Node*>(key); }
    static std::wstring FoldOf(const Node* child) {
        for (auto& c : child->parent->children) {
            if (c.second.get() == child) return c.first;
        }
        return std::wstring();
    }
    bool IsRoot(const Node* p) const {
        for (auto& root : m_roots) {
            if (root.second.get() == p) return true;
        }
        return false;
    }
    long Opened(Node* p, Key* pKey) {
        *pKey = reinterpret_cast<Key>(p);
        if (!IsRoot(p)) ++openKeys;
        return kErrorSuccess;
    }
    static void DumpNode(const Node& node, const std::wstring& path, std::wstring& out) {
        for (auto& v : node.values) out += path + L" [" + v.first + L"]=" + v.second + L"\n";
        for (auto& c : node.children) {
            const std::wstring childPath = path + L"\\" + node.names.at(c.first);
            out += childPath + L"\n";
            DumpNode(*c.second, childPath, out);
        }
    }

    std::map<std::wstring, std::unique_ptr<Node>> m_roots;
};
