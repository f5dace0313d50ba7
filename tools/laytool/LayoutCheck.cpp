#include "LayoutCheck.h"

#include "LayoutJson.h"
#include "LayoutScreen.h"

#include <cmath>
#include <map>

namespace {

class Checker
{
public:
    explicit Checker(std::vector<LayoutProblem>& out) : m_out(out) {}

    void Control(std::size_t index, const LayoutControl& control);

private:
    void Add(LayoutProblem::Severity severity, const char* kind, std::string message)
    {
        m_out.push_back({severity, kind, m_index, m_name, std::move(message)});
    }
    void Warn(const char* kind, std::string message)
    {
        Add(LayoutProblem::Severity::Warning, kind, std::move(message));
    }
    void Geometry(const LayoutControl& control);

    std::vector<LayoutProblem>& m_out;
    std::map<tstring, std::size_t> m_firstWithName;
    std::map<std::uint32_t, std::size_t> m_firstWithId;
    std::size_t m_index = 0;
    tstring m_name;
};

void Checker::Control(std::size_t index, const LayoutControl& control)
{
    m_index = index;
    m_name = control.m_name;
    if (!IsIdentifier(control.m_name))
        Add(LayoutProblem::Severity::Error, "identifier",
            control.m_name.empty() ? "the name is empty"
                                   : "the name is not an identifier (a-z, A-Z or _ first, "
                                     "then also 0-9)");
    const auto name = m_firstWithName.emplace(control.m_name, index);
    if (!name.second)
        Warn("duplicate-name", "the name repeats control " + std::to_string(name.first->second));
    const auto id = m_firstWithId.emplace(control.m_id, index);
    if (!id.second)
        Warn("duplicate-id", "the id " + std::to_string(control.m_id) + " repeats control " +
                                 std::to_string(id.first->second));
    Geometry(control);
}

void Checker::Geometry(const LayoutControl& c)
{
    std::string odd;
    const std::pair<const char*, float> coordinates[] = {
        {"x1", c.m_x1}, {"y1", c.m_y1}, {"x2", c.m_x2}, {"y2", c.m_y2}};
    for (const auto& [field, value] : coordinates)
        if (!std::isfinite(value))
            odd += (odd.empty() ? "" : ", ") + std::string(field) + " " + FloatText(value);
    if (!odd.empty()) {
        // Width, height and position mean nothing once a corner is not a number.
        Warn("not-finite", "a coordinate is not finite (" + odd + ")");
        return;
    }
    const float left = std::fmin(c.m_x1, c.m_x2), right = std::fmax(c.m_x1, c.m_x2);
    const float top = std::fmin(c.m_y1, c.m_y2), bottom = std::fmax(c.m_y1, c.m_y2);
    if (left < 0 || top < 0 || right > SCREEN_WIDTH || bottom > SCREEN_HEIGHT)
        Warn("off-screen", "lies outside the " + std::to_string(SCREEN_WIDTH) + " x " +
                               std::to_string(SCREEN_HEIGHT) + " screen (x " + FloatText(left) +
                               " to " + FloatText(right) + ", y " + FloatText(top) + " to " +
                               FloatText(bottom) + ")");
    // The difference, not the corners' order alone: x2 == x1 is as empty as x2 < x1.
    if (!(c.m_x2 > c.m_x1))
        Warn("empty-size", "the width is " + FloatText(c.m_x2 - c.m_x1) + " (x1 " +
                               FloatText(c.m_x1) + ", x2 " + FloatText(c.m_x2) + ")");
    if (!(c.m_y2 > c.m_y1))
        Warn("empty-size", "the height is " + FloatText(c.m_y2 - c.m_y1) + " (y1 " +
                               FloatText(c.m_y1) + ", y2 " + FloatText(c.m_y2) + ")");
}

} // namespace

std::vector<LayoutProblem> CheckLayout(const LayoutDataObject& layout)
{
    std::vector<LayoutProblem> problems;
    Checker checker(problems);
    for (std::size_t i = 0; i < layout.m_controls.size(); ++i)
        checker.Control(i, layout.m_controls[i]);
    return problems;
}
