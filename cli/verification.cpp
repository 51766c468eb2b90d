#include "verification.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <ostream>
#include <sstream>

#include "kelda/engine.h"

namespace kelda::verification {

namespace {

// A wall of length 240 and EI 1e9 in generic units, built as a data file.
struct Wall {
    int ninc = 20;
    double ei = 1.0e9;
    std::vector<std::string> restraints;
    std::vector<std::string> loads;
    std::vector<std::string> curves;

    [[nodiscard]] double h() const { return 240.0 / ninc; }

    [[nodiscard]] std::string text() const {
        std::ostringstream s;
        s.precision(17);
        s << "Verification\n3 " << restraints.size() << " 1 0 0 " << (curves.empty() ? 0 : 1) << ' '
          << curves.size() << " 1 0\n";
        s << ninc << ' ' << h() << " 1e9 1e-12 0\n";
        for (const auto& r : restraints) s << r << '\n';
        s << "0 " << ninc << " 1 " << ei << '\n';
        s << loads.size() << '\n';
        for (const auto& l : loads) s << l << '\n';
        s << "0\n";
        for (const auto& c : curves) s << c;
        s << "0\n";
        return s.str();
    }
};

struct Solved {
    std::vector<StationResult> stations;
    std::string problem;
};

Solved solve(const Wall& wall) {
    std::istringstream data(wall.text());
    std::ostringstream report, plot, notes, console;
    const RunSummary summary = runAnalysis(data, report, plot, notes, console);
    Solved s;
    if (summary.ending != RunEnding::Completed || summary.problems.empty()) {
        s.problem = summary.message.empty() ? "the run did not complete" : summary.message;
    } else {
        s.stations = summary.problems.front().stations;
    }
    return s;
}

std::string number(double v) {
    std::ostringstream s;
    s.precision(17);
    s << v;
    return s.str();
}

std::string load(int station, double q, double t = 0.0, double p = 0.0) {
    return "1 " + std::to_string(station) + ' ' + std::to_string(station) + ' ' + number(q) + ' ' + number(t) + ' ' +
           number(p);
}

// A linear soil of modulus k at every station: chained three-point p-y curves.
void elasticFoundation(Wall& w, double k) {
    const std::string pk = number(100.0 * k);
    for (int j = 0; j <= w.ninc; ++j) {
        w.curves.push_back(std::to_string(j) + " 3 1 1\n-100 " + pk + "\n0 0\n100 -" + pk + "\n");
    }
}

Row row(std::string caseName, std::string quantity, const Solved& s, const std::function<double(const Solved&)>& computed,
        double theory, double tolerance) {
    Row r{std::move(caseName), std::move(quantity), 0.0, theory, tolerance, s.problem};
    if (s.problem.empty()) r.computed = computed(s);
    return r;
}

double maxAbsMoment(const Solved& s, double* depth) {
    double best = 0.0;
    for (const StationResult& r : s.stations) {
        if (std::abs(r.moment) > std::abs(best)) {
            best = r.moment;
            if (depth) *depth = r.depth;
        }
    }
    return best;
}

} // namespace

double Row::relativeError() const { return theory == 0.0 ? std::abs(computed) : std::abs(computed - theory) / std::abs(theory); }

bool Row::pass() const { return problem.empty() && std::isfinite(computed) && relativeError() <= tolerance; }

std::vector<Row> run() {
    std::vector<Row> rows;
    const double l = 240.0, ei = 1.0e9, f = 1000.0;

    {   // Cantilever fixed at its tip, load at the top. The method adds
        // 1/(2N²) to the deflection; the tip station carries half the EI and
        // so half the fixed-end moment.
        Wall w;
        w.restraints = {"3 20 0 0"};
        w.loads = {load(0, f)};
        const Solved s = solve(w);
        const double n = w.ninc;
        rows.push_back(row("Cantilever, tip load", "top deflection", s,
                           [](const Solved& r) { return r.stations.front().deflection; },
                           f * l * l * l / (3.0 * ei) * (1.0 + 1.0 / (2.0 * n * n)), 1e-9));
        rows.push_back(row("Cantilever, tip load", "moment at the tip station", s,
                           [](const Solved& r) { return r.stations.back().moment; }, f * l / 2.0, 1e-9));
    }
    {   // Simply supported, uniform load w: 5wL⁴/384EI·(1 + 0.8/N²).
        Wall w;
        const double q = 2.0;
        w.restraints = {"1 0 0 0", "1 20 0 0"};
        w.loads = {"1 0 20 " + number(q * w.h()) + " 0 0"};
        const Solved s = solve(w);
        const double n = w.ninc;
        rows.push_back(row("Simply supported, uniform load", "mid-span deflection", s,
                           [](const Solved& r) { return r.stations[10].deflection; },
                           5.0 * q * std::pow(l, 4) / (384.0 * ei) * (1.0 + 0.8 / (n * n)), 1e-9));
    }
    {   // Fixed tip, slope held at zero at the top: FL³/12EI·(1 + 2/N²).
        Wall w;
        w.restraints = {"2 0 0 0", "3 20 0 0"};
        w.loads = {load(0, f)};
        const Solved s = solve(w);
        const double n = w.ninc;
        rows.push_back(row("Slope-restrained cantilever", "top deflection", s,
                           [](const Solved& r) { return r.stations.front().deflection; },
                           f * l * l * l / (12.0 * ei) * (1.0 + 2.0 / (n * n)), 1e-9));
    }
    {   // Simply supported under uniform load and half the Euler load: the
        // beam-column amplification of the mid-span deflection,
        // 12(2 sec u − 2 − u²)/(5u⁴) in compression, 12(2 sech u − 2 + u²)/(5u⁴)
        // in tension, u = (L/2)·sqrt(P/EI). Compared at 80 increments, where
        // the finite-difference result lies within 0.03 % of the theory.
        const double euler = std::numbers::pi * std::numbers::pi * ei / (l * l);
        const double u = 0.5 * l * std::sqrt(0.5 * euler / ei);
        const auto midDeflection = [&](double axial) {
            Wall w;
            w.ninc = 80;
            w.restraints = {"1 0 0 0", "1 80 0 0"};
            w.loads = {"1 0 80 " + number(2.0 * w.h()) + " 0 " + number(axial)};
            return solve(w);
        };
        const Solved plain = midDeflection(0.0);
        const Solved compression = midDeflection(0.5 * euler);
        const Solved tension = midDeflection(-0.5 * euler);
        const double base = plain.problem.empty() ? plain.stations[40].deflection : 1.0;
        rows.push_back(row("Axial load, compression P = Pe/2", "amplification of mid-span deflection", compression,
                           [base](const Solved& r) { return r.stations[40].deflection / base; },
                           12.0 * (2.0 / std::cos(u) - 2.0 - u * u) / (5.0 * std::pow(u, 4)), 1e-3));
        rows.push_back(row("Axial load, tension P = -Pe/2", "amplification of mid-span deflection", tension,
                           [base](const Solved& r) { return r.stations[40].deflection / base; },
                           12.0 * (2.0 / std::cosh(u) - 2.0 + u * u) / (5.0 * std::pow(u, 4)), 1e-3));
    }
    {   // Long beam on an elastic foundation, βL = 6: head shear H gives
        // y0 = 2Hβ/k (the method: 0.9986 of it at 80 increments) and the
        // largest moment 0.3224·H/β at depth π/(4β); a head moment M0 gives
        // y0 = 2M0β²/k.
        const double beta = 6.0 / l;
        const double k = 4.0 * ei * std::pow(beta, 4);
        Wall shear;
        shear.ninc = 80;
        shear.loads = {load(0, f)};
        elasticFoundation(shear, k);
        const Solved s = solve(shear);
        rows.push_back(row("Elastic foundation, head shear", "top deflection", s,
                           [](const Solved& r) { return r.stations.front().deflection; },
                           0.9986 * 2.0 * f * beta / k, 2e-4));
        rows.push_back(row("Elastic foundation, head shear", "largest moment", s,
                           [](const Solved& r) { return std::abs(maxAbsMoment(r, nullptr)); }, 0.3224 * f / beta,
                           5e-3)); // read at the station nearest the peak, 1.5 length units away
        rows.push_back(row("Elastic foundation, head shear", "depth of the largest moment", s,
                           [](const Solved& r) {
                               double depth = 0.0;
                               maxAbsMoment(r, &depth);
                               return depth;
                           },
                           std::numbers::pi / (4.0 * beta), 0.5 * shear.h() / (std::numbers::pi / (4.0 * beta))));

        Wall moment;
        moment.ninc = 80;
        const double m0 = 1.0e5;
        // A couple at the top station as the load table's moment column.
        moment.loads = {load(0, 0.0, m0)};
        elasticFoundation(moment, k);
        const Solved sm = solve(moment);
        rows.push_back(row("Elastic foundation, head moment", "top deflection", sm,
                           [](const Solved& r) { return std::abs(r.stations.front().deflection); },
                           2.0 * m0 * beta * beta / k, 5e-3));
    }
    {   // Rankine active pressure in dry sand: p = KA·γ·z with KA = tan²(45° − φ/2),
        // γ = 18, φ = 30°, read back from the generated table (three
        // significant digits, as the table is written).
        const std::string data =
            "Verification\n2 1 1 0 2 0 0 1 0\n48 0.25 1e9 1e-12 6\n3 48 0 0\n0 48 1 1e6\n0\n0\n"
            "6 1 1 20 20 1 1 0\n0 0 0 0 0 0\n0\n1\n4 12 \n18 0.0  30 0.0  20000 0.0  \n18 0.0  30 0.0  20000 0.0  \n0\n";
        std::istringstream in(data);
        std::ostringstream report, plot, notes, console;
        const RunSummary summary = runAnalysis(in, report, plot, notes, console);
        Solved s;
        if (summary.ending != RunEnding::Completed || summary.problems.empty()) {
            s.problem = summary.message.empty() ? "the run did not complete" : summary.message;
        }
        const double ka = std::pow(std::tan(std::numbers::pi / 4.0 - std::numbers::pi / 12.0), 2);
        for (const double z : {2.0, 4.0, 6.0}) {
            rows.push_back(row("Rankine active pressure, dry sand", "pressure at depth " + number(z), s,
                               [&summary, z](const Solved&) {
                                   for (const PressurePoint& p : summary.problems.front().earthPressure) {
                                       if (std::abs(p.depth - z) < 1e-9) return p.total;
                                   }
                                   return std::nan("");
                               },
                               ka * 18.0 * z, 2e-3));
        }
    }
    return rows;
}

bool print(const std::vector<Row>& rows, std::ostream& out) {
    bool all = true;
    char line[512];
    std::snprintf(line, sizeof line, "%-34s %-38s %14s %14s %10s  %s\n", "case", "quantity", "computed", "theory",
                  "rel. error", "result");
    out << line;
    for (const Row& r : rows) {
        const bool ok = r.pass();
        all = all && ok;
        std::snprintf(line, sizeof line, "%-34s %-38s %14.7g %14.7g %10.2e  %s\n", r.caseName.c_str(),
                      r.quantity.c_str(), r.computed, r.theory, r.relativeError(), ok ? "PASS" : "FAIL");
        out << line;
        if (!r.problem.empty()) out << "    " << r.problem << '\n';
    }
    return all;
}

} // namespace kelda::verification
