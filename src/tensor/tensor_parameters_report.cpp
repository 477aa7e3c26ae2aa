// The Tensor Parameters report and CSV table. Numbers are formatted locale-free; a value that
// rounds to zero is written without a sign, so that a tensor and a rotated copy of it read
// alike.
#include "tensor/tensor_parameters_report.h"

#include <cmath>
#include <string_view>

#include "platform/c_format.h"

namespace orvix {

namespace {

// Below half a unit of the sixth decimal "%.6f" writes zero, but a negative value keeps its
// sign ("-0.000000").
double unsigned_zero(double value) {
    return std::fabs(value) < 5e-7 ? 0.0 : value;
}

void line(std::string& out, std::string_view text) {
    out.append("/* ").append(text).append(" */\r\n");
}

// "sigma", "delta" or "V": the symbol of the principal values.
std::string_view symbol(tensor_kind kind) {
    switch (kind) {
        case tensor_kind::shielding:
            return "sigma";
        case tensor_kind::shift:
            return "delta";
        case tensor_kind::efg:
            break;
    }
    return "V";
}

void value_line(std::string& out, std::string_view name, double value) {
    c_format_append(out, "/*   %-10.*s %14.6f */\r\n", static_cast<int>(name.size()), name.data(),
                    unsigned_zero(value));
}

void axis_lines(std::string& out, const principal_frame& frame, const char* const names[3]) {
    for (int k = 0; k < 3; ++k)
        c_format_append(out, "/*   %-10s %14.6f   axis %11.6f %11.6f %11.6f */\r\n", names[k],
                        unsigned_zero(frame.values[k]), unsigned_zero(frame.axes[k][0]),
                        unsigned_zero(frame.axes[k][1]), unsigned_zero(frame.axes[k][2]));
}

std::string spin_text(double spin) {
    const long twice = std::lround(2.0 * spin);
    return twice % 2 == 0 ? c_format("%ld", twice / 2) : c_format("%ld/2", twice);
}

void shift_header(std::string& out, const tensor_parameters_options& options) {
    const bool shift = options.kind == tensor_kind::shift;
    const std::string s(symbol(options.kind));
    line(out, "Tensor parameters: " + std::string(shift ? "chemical shift" : "shielding") +
                  " tensors, in ppm.");
    line(out, "Each tensor line LABEL t11 t12 t13 t21 t22 t23 t31 t32 t33 is read row by row;");
    line(out, "  only its symmetric part (T + T^T)/2 is used.");
    line(out, "Principal values " + s + "_11 " + (shift ? ">=" : "<=") + " " + s + "_22 " +
                  (shift ? ">=" : "<=") + " " + s + "_33 (IUPAC, Mehring), each with its unit");
    line(out, "  axis (x, y, z of the input frame); the three axes form a right-handed set.");
    line(out, s + "_iso = (" + s + "_11 + " + s + "_22 + " + s + "_33)/3.");
    line(out, "Haeberlen: |" + s + "_zz - " + s + "_iso| >= |" + s + "_xx - " + s + "_iso| >= |" +
                  s + "_yy - " + s + "_iso|;");
    line(out, "  zeta = " + s + "_zz - " + s + "_iso; Delta = " + s + "_zz - (" + s + "_xx + " + s +
                  "_yy)/2 = 1.5 zeta;");
    line(out,
         "  eta = (" + s + "_yy - " + s + "_xx)/zeta, 0 to 1 (0 when zeta = 0). At eta = 1 the");
    line(out,
         "  convention leaves the sign of zeta open: " + s + "_zz is then the larger candidate.");
    line(out, "Herzfeld-Berger: span Omega = " +
                  (shift ? s + "_11 - " + s + "_33" : s + "_33 - " + s + "_11") + " >= 0;");
    line(out, "  skew kappa = " +
                  (shift ? "3(" + s + "_22 - " + s + "_iso)" : "3(" + s + "_iso - " + s + "_22)") +
                  "/Omega, -1 to 1 (0 when Omega = 0).");
    if (options.reference) {
        line(out, c_format("Shifts from the reference shielding sigma_ref = %.6f ppm:",
                           *options.reference));
        line(out, "  delta = (sigma_ref - sigma)/(1 - sigma_ref * 1e-6).");
    }
}

void efg_header(std::string& out, const tensor_parameters_options& options) {
    line(out, "Tensor parameters: EFG tensors, in atomic units (1 a.u. = 9.7173624292e21 V m^-2);");
    line(out, c_format("  nucleus %s, I = %s, Q = %.10g fm^2 (Pyykko 2018); C_Q, P_Q, nu_Q, NQR "
                       "in MHz.",
                       options.nucleus.c_str(), spin_text(options.spin).c_str(), options.q_fm2));
    line(out, "Each tensor line LABEL t11 t12 t13 t21 t22 t23 t31 t32 t33 is read row by row;");
    line(out, "  only its symmetric part (T + T^T)/2 is used.");
    line(out, "Principal values |V_xx| <= |V_yy| <= |V_zz|, each with its unit axis (x, y, z of");
    line(out, "  the input frame); the three axes form a right-handed set.");
    line(out, "trace = V_xx + V_yy + V_zz (zero for an exact EFG).");
    line(out, "eta_Q = (V_xx - V_yy)/V_zz, 0 to 1 (0 when V_zz = 0). At eta_Q = 1 the convention");
    line(out, "  leaves the sign of V_zz open: V_zz is then the positive candidate.");
    line(out, c_format("C_Q = e Q V_zz / h = %.6f MHz * Q[barn] * V_zz[a.u.] (CODATA 2018);",
                       cq_mhz_per_barn_au));
    line(out, "P_Q = C_Q sqrt(1 + eta_Q^2/3); nu_Q = 3 C_Q / (2I(2I - 1)); all three keep the");
    line(out, "  sign of Q V_zz.");
    line(out, "NQR: the distinct positive differences of the eigenvalues of");
    line(out, "  H_Q = C_Q/(4I(2I - 1)) [3 Iz^2 - I(I + 1) + eta_Q (Ix^2 - Iy^2)], ascending.");
}

void shift_block(std::string& out, const tensor_parameters_options& options,
                 const tensor_result& result) {
    const std::string s(symbol(options.kind));
    const shift_parameters& p = result.shift;
    const std::string names[3] = {s + "_11", s + "_22", s + "_33"};
    const char* const name_texts[3] = {names[0].c_str(), names[1].c_str(), names[2].c_str()};
    axis_lines(out, p.iupac, name_texts);
    value_line(out, s + "_iso", p.iso);
    value_line(out, s + "_xx", p.xx);
    value_line(out, s + "_yy", p.yy);
    value_line(out, s + "_zz", p.zz);
    value_line(out, "zeta", p.zeta);
    value_line(out, "Delta", p.delta_aniso);
    value_line(out, "eta", p.eta);
    if (p.zeta_sign_chosen)
        line(out, "  eta = 1: the sign of zeta is not fixed by the convention; " + s +
                      "_zz is the larger candidate.");
    value_line(out, "Omega", p.span);
    value_line(out, "kappa", p.skew);
    if (options.reference) {
        value_line(out, "delta_iso", result.referenced[0]);
        value_line(out, "delta_11", result.referenced[1]);
        value_line(out, "delta_22", result.referenced[2]);
        value_line(out, "delta_33", result.referenced[3]);
    }
}

void efg_block(std::string& out, const tensor_result& result) {
    const efg_parameters& p = result.efg;
    static const char* const names[3] = {"V_xx", "V_yy", "V_zz"};
    axis_lines(out, p.frame, names);
    value_line(out, "trace", p.trace);
    value_line(out, "eta_Q", p.eta);
    if (p.vzz_sign_chosen)
        line(out,
             "  eta_Q = 1: the sign of V_zz is not fixed by the convention; V_zz is taken "
             "positive.");
    value_line(out, "C_Q", p.cq);
    value_line(out, "P_Q", p.pq);
    value_line(out, "nu_Q", p.nu_q);
    std::string lines = p.nqr.empty() ? std::string(" none") : std::string();
    for (double nu : p.nqr) c_format_append(lines, " %.6f", nu);
    line(out, "  NQR       " + lines);
}

void csv_value(std::string& out, double value) {
    c_format_append(out, ",%.6f", unsigned_zero(value));
}

}  // namespace

std::string format_report_header(const tensor_parameters_options& options) {
    std::string out;
    if (options.kind == tensor_kind::efg)
        efg_header(out, options);
    else
        shift_header(out, options);
    return out;
}

std::string format_report_block(const tensor_parameters_options& options,
                                const tensor_result& result) {
    std::string out;
    line(out, "--- " + result.label + " ---");
    if (options.kind == tensor_kind::efg)
        efg_block(out, result);
    else
        shift_block(out, options, result);
    return out;
}

std::string format_csv_header(const tensor_parameters_options& options) {
    if (options.kind == tensor_kind::efg)
        return "label,vxx,vyy,vzz,eta_q,cq_mhz,pq_mhz,nu_q_mhz,nqr_mhz\r\n";
    std::string out = "label,iso,xx,yy,zz,zeta,delta_aniso,eta,v11,v22,v33,span,skew";
    if (options.reference) out += ",shift_iso,shift_v11,shift_v22,shift_v33";
    return out + "\r\n";
}

std::string format_csv_row(const tensor_parameters_options& options, const tensor_result& result) {
    std::string out = result.label;
    if (options.kind == tensor_kind::efg) {
        const efg_parameters& p = result.efg;
        for (double v :
             {p.frame.values[0], p.frame.values[1], p.frame.values[2], p.eta, p.cq, p.pq, p.nu_q})
            csv_value(out, v);
        out.push_back(',');
        for (std::size_t k = 0; k < p.nqr.size(); ++k)
            c_format_append(out, k == 0 ? "%.6g" : ";%.6g", p.nqr[k]);
        return out + "\r\n";
    }
    const shift_parameters& p = result.shift;
    for (double v : {p.iso, p.xx, p.yy, p.zz, p.zeta, p.delta_aniso, p.eta, p.iupac.values[0],
                     p.iupac.values[1], p.iupac.values[2], p.span, p.skew})
        csv_value(out, v);
    if (options.reference)
        for (double delta : result.referenced) csv_value(out, delta);
    return out + "\r\n";
}

}  // namespace orvix
