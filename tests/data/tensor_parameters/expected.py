#!/usr/bin/python3
"""Writes the expected results of the Tensor Parameters tests with numpy, independently of the
program: LAPACK (numpy.linalg.eigh) for the principal frames, and the NQR Hamiltonian built
from complex spin matrices (Ix, Iy from I+ and I-).

    tests/data/tensor_parameters/expected.py      (writes the .expected files beside it)

shielding.cry -> shielding.ref170.expected.cry (report, --kind shielding --reference 170)
                 shielding.ref170.expected.csv (CSV, the same)
efg.cry       -> efg.14N.expected.cry          (report, --kind efg --nucleus 14N)
                 efg.27Al.expected.csv         (CSV, --kind efg --nucleus 27Al)
Lines end in CR LF. Q(14N) = 2.044 fm^2, Q(27Al) = 14.66 fm^2 (Pyykko 2018, nuclei.csv).
"""
import os
import re

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
# e Q Vzz / h in MHz per barn and atomic unit (CODATA 2018).
CQ_FACTOR = 1.602176634e-19 * 1e-28 * 9.7173624292e21 / 6.62607015e-34 / 1e6
TIE = 1e-12


def tensor_lines(path):
    """(kind, text or (label, 3x3 array)) for comment and tensor lines, in order."""
    out = []
    with open(path, 'rb') as f:
        for raw in f.read().decode('latin-1').split('\r\n')[:-1]:
            if raw.startswith('/') or raw[1:2] == '*':
                out.append(('comment', raw))
                continue
            items = [t for t in re.split(r'[ \t,;()]+', raw) if t]
            if len(items) != 10:
                continue
            try:
                float(items[0])
                continue
            except ValueError:
                pass
            try:
                numbers = [float(x) for x in items[1:]]
            except ValueError:
                continue
            out.append(('tensor', (items[0], np.array(numbers).reshape(3, 3))))
    return out


def frame(t):
    values, vectors = np.linalg.eigh((t + t.T) / 2)
    return values, [vectors[:, k] for k in range(3)]


def canonical(axis):
    for c in axis:
        if abs(c) > 1e-6:
            return axis if c > 0 else -axis
    return axis


def ordered(values, axes, order):
    a0, a1 = canonical(axes[order[0]]), canonical(axes[order[1]])
    return [values[k] for k in order], [a0, a1, np.cross(a0, a1)]


def f6(x):
    return '%.6f' % (0.0 if abs(x) < 5e-7 else x)


def shielding_parameters(t):
    values, axes = frame(t)
    tol = TIE * max(abs(values))
    iso = values.sum() / 3
    order = sorted(range(3), key=lambda k: values[k])
    v, ax = ordered(values, axes, order)
    d = [values[k] - iso for k in range(3)]
    h = sorted(range(3), key=lambda k: -abs(d[k]))
    tie = abs(d[h[0]]) > tol and abs(abs(d[h[0]]) - abs(d[h[1]])) <= tol
    if tie and values[h[1]] > values[h[0]]:
        h[0], h[1] = h[1], h[0]
    zz, xx, yy = values[h[0]], values[h[1]], values[h[2]]
    zeta = zz - iso
    return dict(v=v, ax=ax, iso=iso, xx=xx, yy=yy, zz=zz, zeta=zeta, delta=zz - (xx + yy) / 2,
                eta=min(1.0, max(0.0, (yy - xx) / zeta)) if abs(zeta) > tol else 0.0,
                tie=tie, span=v[2] - v[0],
                kappa=min(1.0, max(-1.0, 3 * (iso - v[1]) / (v[2] - v[0])))
                if v[2] - v[0] > tol else 0.0)


def shift_from(sigma, reference):
    return (reference - sigma) / (1 - reference * 1e-6)


def shielding_csv(path, reference):
    rows = ['label,iso,xx,yy,zz,zeta,delta_aniso,eta,v11,v22,v33,span,skew,'
            'shift_iso,shift_v11,shift_v22,shift_v33']
    for kind, item in tensor_lines(path):
        if kind != 'tensor':
            continue
        label, t = item
        p = shielding_parameters(t)
        numbers = [p['iso'], p['xx'], p['yy'], p['zz'], p['zeta'], p['delta'], p['eta']] + \
            list(p['v']) + [p['span'], p['kappa']] + \
            [shift_from(x, reference) for x in [p['iso']] + list(p['v'])]
        rows.append(','.join([label] + [f6(x) for x in numbers]))
    return ''.join(x + '\r\n' for x in rows)


def shielding_report(path, reference):
    s = 'sigma'
    out = [
        'Tensor parameters: shielding tensors, in ppm.',
        'Each tensor line LABEL t11 t12 t13 t21 t22 t23 t31 t32 t33 is read row by row;',
        '  only its symmetric part (T + T^T)/2 is used.',
        'Principal values sigma_11 <= sigma_22 <= sigma_33 (IUPAC, Mehring), each with its unit',
        '  axis (x, y, z of the input frame); the three axes form a right-handed set.',
        'sigma_iso = (sigma_11 + sigma_22 + sigma_33)/3.',
        'Haeberlen: |sigma_zz - sigma_iso| >= |sigma_xx - sigma_iso| >= |sigma_yy - sigma_iso|;',
        '  zeta = sigma_zz - sigma_iso; Delta = sigma_zz - (sigma_xx + sigma_yy)/2 = 1.5 zeta;',
        '  eta = (sigma_yy - sigma_xx)/zeta, 0 to 1 (0 when zeta = 0). At eta = 1 the',
        '  convention leaves the sign of zeta open: sigma_zz is then the larger candidate.',
        'Herzfeld-Berger: span Omega = sigma_33 - sigma_11 >= 0;',
        '  skew kappa = 3(sigma_iso - sigma_22)/Omega, -1 to 1 (0 when Omega = 0).',
        'Shifts from the reference shielding sigma_ref = %.6f ppm:' % reference,
        '  delta = (sigma_ref - sigma)/(1 - sigma_ref * 1e-6).',
    ]
    lines = ['/* %s */' % x for x in out]
    for kind, item in tensor_lines(path):
        if kind == 'comment':
            lines.append(item)
            continue
        label, t = item
        p = shielding_parameters(t)
        v, ax = p['v'], p['ax']
        lines.append('/* --- %s --- */' % label)
        for k in range(3):
            lines.append('/*   %-10s %14s   axis %11s %11s %11s */' % (
                '%s_%d%d' % (s, k + 1, k + 1), f6(v[k]), f6(ax[k][0]), f6(ax[k][1]), f6(ax[k][2])))
        rows = [('sigma_iso', p['iso']), ('sigma_xx', p['xx']), ('sigma_yy', p['yy']),
                ('sigma_zz', p['zz']), ('zeta', p['zeta']), ('Delta', p['delta']), ('eta', p['eta'])]
        for name, x in rows:
            lines.append('/*   %-10s %14s */' % (name, f6(x)))
        if p['tie']:
            lines.append('/*   eta = 1: the sign of zeta is not fixed by the convention; '
                         'sigma_zz is the larger candidate. */')
        for name, x in [('Omega', p['span']), ('kappa', p['kappa'])]:
            lines.append('/*   %-10s %14s */' % (name, f6(x)))
        for name, x in [('delta_iso', p['iso']), ('delta_11', v[0]), ('delta_22', v[1]), ('delta_33', v[2])]:
            lines.append('/*   %-10s %14s */' % (name, f6(shift_from(x, reference))))
    return ''.join(x + '\r\n' for x in lines)


def spin_matrices(spin):
    m = np.arange(spin, -spin - 1, -1)
    plus = np.zeros((len(m), len(m)), dtype=complex)
    for k in range(1, len(m)):   # I+ |m> = sqrt(I(I+1) - m(m+1)) |m+1>
        plus[k - 1, k] = np.sqrt(spin * (spin + 1) - m[k] * (m[k] + 1))
    ix = (plus + plus.conj().T) / 2
    iy = (plus - plus.conj().T) / 2j
    return ix, iy, np.diag(m).astype(complex)


def nqr(cq, eta, spin):
    if cq == 0:
        return []
    ix, iy, iz = spin_matrices(spin)
    n = len(iz)
    h = cq / (4 * spin * (2 * spin - 1)) * (3 * iz @ iz - spin * (spin + 1) * np.eye(n)
                                              + eta * (ix @ ix - iy @ iy))
    e = np.linalg.eigvalsh(h)
    spread = e.max() - e.min()
    diffs = sorted(e[j] - e[i] for i in range(n) for j in range(n) if e[j] - e[i] > 1e-9 * spread)
    lines = []
    for d in diffs:
        if not lines or d - lines[-1] > 1e-9 * d:
            lines.append(d)
    return lines


def efg_parameters(t, spin, q_fm2):
    values, axes = frame(t)
    tol = TIE * max(abs(values))
    order = sorted(range(3), key=lambda k: abs(values[k]))
    tie = abs(values[order[2]]) > tol and abs(abs(values[order[2]]) - abs(values[order[1]])) <= tol \
        and (values[order[2]] > 0) != (values[order[1]] > 0)
    if tie and values[order[1]] > values[order[2]]:
        order[1], order[2] = order[2], order[1]
    v, ax = ordered(values, axes, order)
    vxx, vyy, vzz = v
    eta = min(1.0, max(0.0, (vxx - vyy) / vzz)) if abs(vzz) > tol else 0.0
    cq = CQ_FACTOR * q_fm2 / 100 * vzz
    return dict(v=v, ax=ax, trace=sum(v), eta=eta, tie=tie, cq=cq,
                pq=cq * np.sqrt(1 + eta * eta / 3), nu_q=3 * cq / (2 * spin * (2 * spin - 1)),
                nqr=nqr(cq, eta, spin))


def efg_csv(path, spin, q_fm2):
    rows = ['label,vxx,vyy,vzz,eta_q,cq_mhz,pq_mhz,nu_q_mhz,nqr_mhz']
    for kind, item in tensor_lines(path):
        if kind != 'tensor':
            continue
        label, t = item
        p = efg_parameters(t, spin, q_fm2)
        cells = [label] + [f6(x) for x in list(p['v']) + [p['eta'], p['cq'], p['pq'], p['nu_q']]]
        cells.append(';'.join('%.6g' % x for x in p['nqr']))
        rows.append(','.join(cells))
    return ''.join(x + '\r\n' for x in rows)


def efg_report(path, nucleus, spin_text, spin, q_fm2):
    out = [
        'Tensor parameters: EFG tensors, in atomic units (1 a.u. = 9.7173624292e21 V m^-2);',
        '  nucleus %s, I = %s, Q = %s fm^2 (Pyykko 2018); C_Q, P_Q, nu_Q, NQR in MHz.'
        % (nucleus, spin_text, q_fm2),
        'Each tensor line LABEL t11 t12 t13 t21 t22 t23 t31 t32 t33 is read row by row;',
        '  only its symmetric part (T + T^T)/2 is used.',
        'Principal values |V_xx| <= |V_yy| <= |V_zz|, each with its unit axis (x, y, z of',
        '  the input frame); the three axes form a right-handed set.',
        'trace = V_xx + V_yy + V_zz (zero for an exact EFG).',
        'eta_Q = (V_xx - V_yy)/V_zz, 0 to 1 (0 when V_zz = 0). At eta_Q = 1 the convention',
        '  leaves the sign of V_zz open: V_zz is then the positive candidate.',
        'C_Q = e Q V_zz / h = %.6f MHz * Q[barn] * V_zz[a.u.] (CODATA 2018);' % CQ_FACTOR,
        'P_Q = C_Q sqrt(1 + eta_Q^2/3); nu_Q = 3 C_Q / (2I(2I - 1)); all three keep the',
        '  sign of Q V_zz.',
        'NQR: the distinct positive differences of the eigenvalues of',
        '  H_Q = C_Q/(4I(2I - 1)) [3 Iz^2 - I(I + 1) + eta_Q (Ix^2 - Iy^2)], ascending.',
    ]
    lines = ['/* %s */' % x for x in out]
    for kind, item in tensor_lines(path):
        if kind == 'comment':
            lines.append(item)
            continue
        label, t = item
        p = efg_parameters(t, spin, q_fm2)
        lines.append('/* --- %s --- */' % label)
        for k, name in enumerate(['V_xx', 'V_yy', 'V_zz']):
            lines.append('/*   %-10s %14s   axis %11s %11s %11s */' % (
                name, f6(p['v'][k]), f6(p['ax'][k][0]), f6(p['ax'][k][1]), f6(p['ax'][k][2])))
        for name in ['trace', 'eta']:
            lines.append('/*   %-10s %14s */' % ({'eta': 'eta_Q'}.get(name, name), f6(p[name])))
        if p['tie']:
            lines.append('/*   eta_Q = 1: the sign of V_zz is not fixed by the convention; '
                         'V_zz is taken positive. */')
        for name, key in [('C_Q', 'cq'), ('P_Q', 'pq'), ('nu_Q', 'nu_q')]:
            lines.append('/*   %-10s %14s */' % (name, f6(p[key])))
        nqr_text = ''.join(' %.6f' % x for x in p['nqr']) or ' none'
        lines.append('/*   NQR       %s */' % nqr_text)
    return ''.join(x + '\r\n' for x in lines)


if __name__ == '__main__':
    with open(os.path.join(HERE, 'shielding.ref170.expected.cry'), 'wb') as f:
        f.write(shielding_report(os.path.join(HERE, 'shielding.cry'), 170.0).encode('latin-1'))
    with open(os.path.join(HERE, 'shielding.ref170.expected.csv'), 'wb') as f:
        f.write(shielding_csv(os.path.join(HERE, 'shielding.cry'), 170.0).encode('latin-1'))
    with open(os.path.join(HERE, 'efg.27Al.expected.csv'), 'wb') as f:
        f.write(efg_csv(os.path.join(HERE, 'efg.cry'), 2.5, 14.66).encode('latin-1'))
    with open(os.path.join(HERE, 'efg.14N.expected.cry'), 'wb') as f:
        f.write(efg_report(os.path.join(HERE, 'efg.cry'), '14N', '1', 1.0, 2.044).encode('latin-1'))
