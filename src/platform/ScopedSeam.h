#pragma once
// Installs an implementation behind one of the process-wide seams (vendor
// libraries and the like) for the lifetime of a scope, and puts back what was
// installed before. `Set` installs its argument and answers the one it
// replaced.
//
//   using ScopedI1d3Library = ScopedSeam<II1d3Library, &setI1d3Library>;

namespace pz {

template <class Interface, Interface *(*Set)(Interface *)>
class ScopedSeam {
public:
    explicit ScopedSeam(Interface *implementation) : m_previous(Set(implementation)) {}
    ~ScopedSeam() { Set(m_previous); }
    ScopedSeam(const ScopedSeam &) = delete;
    ScopedSeam &operator=(const ScopedSeam &) = delete;

private:
    Interface *m_previous;
};

} // namespace pz
