#pragma once

#include <memory>
#include <string>

#include <Cassowary/Membership.h>

namespace cassowary {

// A value the solver finds. Copies are handles to one shared variable: the
// constraints hold it by identity, and the solver writes its value.
class Variable {
public:
    explicit Variable(std::string name = {}) : _data(std::make_shared<Data>(std::move(name))) {}

    const std::string& name() const { return _data->name; }
    double value() const { return _data->value; }
    void setValue(double value) { _data->value = value; }

    // Handles name the same variable when they share its storage.
    bool isSame(const Variable& other) const { return _data == other._data; }
    const void* identity() const { return _data.get(); }

private:
    friend class Solver;

    struct Data {
        explicit Data(std::string variableName) : name(std::move(variableName)) {}
        std::string name;
        double value = 0;
        Membership membership;
    };
    Membership& membership() const { return _data->membership; }

    std::shared_ptr<Data> _data;
};

} // namespace cassowary
