#include "app/program.h"

Program::Program(BaseState &state, const Services &services)
    : BaseForm(state, services), AboutForm(services, &BaseForm), EditIniForm(state, services, BaseForm, &BaseForm),
      ZastForm(services, &BaseForm)
{
    BaseForm.setOtherWindows(&AboutForm, &EditIniForm, &ZastForm);
}
