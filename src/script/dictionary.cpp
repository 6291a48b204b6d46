// Scripting.Dictionary: keys in the order they were added, looked up by value.
#include "objects.h"

namespace script {

namespace {

class Dictionary : public ObjectBase {
public:
    QString typeName() const override { return QStringLiteral("Dictionary"); }

    Variant invoke(Interp&, const QString& key, Access access, std::vector<Variant>& a) override {
        const QString k = key.isEmpty() ? QStringLiteral("item") : key;
        const bool get = access == Access::Get;
        if (k == QLatin1String("item")) {
            if (get) {
                count(a, 1);
                return item(a[0]);
            }
            count(a, 2);
            set(a[0], std::move(a[1]), access == Access::Set);
            return Variant();
        }
        if (k == QLatin1String("count")) {
            readOnly(access);
            count(a, 0);
            return Variant::makeLong(int32_t(keys_.size()));
        }
        if (k == QLatin1String("comparemode")) {
            if (get) {
                count(a, 0);
                return Variant::makeLong(textMode_ ? 1 : 0);
            }
            count(a, 1);
            const int32_t m = a[0].toLong();
            if (m < 0 || !keys_.empty())
                Throw(5);
            textMode_ = m == 1;
            return Variant();
        }
        if (k == QLatin1String("key")) {
            if (get)
                Throw(438, QStringLiteral("'Key'"));
            count(a, 2);
            rename(a[0], a[1]);
            return Variant();
        }
        readOnly(access);
        if (k == QLatin1String("add")) {
            count(a, 2);
            if (find(a[0]) >= 0)
                Throw(457);
            append(a[0], std::move(a[1]));
            return Variant();
        }
        if (k == QLatin1String("exists")) {
            count(a, 1);
            return Variant(find(a[0]) >= 0);
        }
        if (k == QLatin1String("remove")) {
            count(a, 1);
            const int i = find(a[0]);
            if (i < 0)
                Throw(32811);
            keys_.erase(keys_.begin() + i);
            items_.erase(items_.begin() + i);
            reindex();
            return Variant();
        }
        if (k == QLatin1String("removeall")) {
            count(a, 0);
            keys_.clear();
            items_.clear();
            strings_.clear();
            others_.clear();
            return Variant();
        }
        if (k == QLatin1String("keys")) {
            count(a, 0);
            return Variant::makeArray(keys_);
        }
        if (k == QLatin1String("items")) {
            count(a, 0);
            return Variant::makeArray(items_);
        }
        Throw(438, QStringLiteral("'%1'").arg(key));
    }

    std::vector<Variant> elements(Interp&) override { return keys_; }
    void clearReferences() override {
        std::vector<Variant> k, v;
        k.swap(keys_);
        v.swap(items_);
        strings_.clear();
        others_.clear();
    }

private:
    std::vector<Variant> keys_, items_;
    // Positions by key: text keys as they are (folded in text mode), other keys by norm().
    QHash<QString, int> strings_, others_;
    bool textMode_ = false;

    static void count(const std::vector<Variant>& a, size_t n) {
        if (a.size() != n)
            Throw(450);
    }
    static void readOnly(Access access) {
        if (access != Access::Get)
            Throw(438);
    }

    // Keys compare by value: 1, 1.0 and CByte(1) are one key, "1" another; text mode folds case.
    QString norm(const Variant& k) const {
        switch (k.type()) {
        case Variant::Empty: return QStringLiteral("e");
        case Variant::Null: return QStringLiteral("z");
        case Variant::String: return textMode_ ? k.stringValue().toLower() : k.stringValue();
        case Variant::Object: return QStringLiteral("o%1").arg(quintptr(k.objectValue()));
        case Variant::Array: Throw(13);
        default: return u'n' + FormatNumber(k.toDouble(), 17);
        }
    }
    QHash<QString, int>& index(const Variant& k) { return k.isString() ? strings_ : others_; }
    static int lookup(const QHash<QString, int>& h, const QString& key) {
        auto it = h.constFind(key);
        return it == h.constEnd() ? -1 : *it;
    }
    int find(const Variant& k) const {
        const QString n = norm(k);
        int i = lookup(k.isString() ? strings_ : others_, n);
        // Empty is the same key as "" and as 0 (which stay two keys of their own).
        if (i < 0 && k.isEmpty()) {
            i = lookup(strings_, QString());
            if (i < 0)
                i = lookup(others_, QStringLiteral("n0"));
        } else if (i < 0 && (n.isEmpty() || n == QLatin1String("n0"))) {
            i = lookup(others_, QStringLiteral("e"));
        }
        return i;
    }
    void append(const Variant& k, Variant v) {
        keys_.push_back(k);
        items_.push_back(std::move(v));
        index(k).insert(norm(k), int(keys_.size()) - 1);
    }
    void reindex() {
        strings_.clear();
        others_.clear();
        for (size_t i = 0; i < keys_.size(); ++i)
            index(keys_[i]).insert(norm(keys_[i]), int(i));
    }
    Variant item(const Variant& k) {
        int i = find(k);
        if (i < 0) {
            // Reading a missing key adds it with an Empty item.
            append(k, Variant());
            i = int(keys_.size()) - 1;
        }
        return items_[size_t(i)];
    }
    void set(const Variant& k, Variant v, bool isSet) {
        if (isSet)
            RequireObject(v, false);
        const int i = find(k);
        if (i >= 0) {
            items_[size_t(i)] = std::move(v);
            return;
        }
        append(k, std::move(v));
    }
    void rename(const Variant& from, const Variant& to) {
        const int i = find(from);
        if (i < 0)
            Throw(32811);
        if (find(to) >= 0)
            Throw(457);
        index(from).remove(norm(from));
        keys_[size_t(i)] = to;
        index(to).insert(norm(to), i);
    }
};

}  // namespace

ObjectBase* NewDictionary() {
    return new Dictionary;
}

}  // namespace script
