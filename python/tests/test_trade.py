"""A sale posted and read back from Python."""
import datetime

import pytest

import orv
from conftest import Y1, Y2, put, requires

pytestmark = [requires("trade", "ORVVchr.Sales"), requires("masters", "ORVMasters.clsAccount")]

# quartet prefix -> (account id, account name, amount, sign); the names of the first leg differ
LEGS = [
    (
        ("CustomerAccId", "CustomerName", "CustomerAmt", "CustomerAmtSign"),
        (401, "Sharma Textiles", 1180.6, "Dr"),
    ),
    (("SalesAccId", "SalesAccName", "SalesAmt", "SalesAmtSign"), (403, "Sales A/c", 1000.0, "Cr")),
    (("VatAccId", "VatAccName", "VatAmt", "VatAmtSign"), (405, "VAT Payable", 125.0, "Cr")),
    (
        ("AddTaxAccId", "AddTaxAccName", "AddTaxAmt", "AddTaxAmtSign"),
        (406, "Additional Tax", 55.0, "Cr"),
    ),
    (("RndOffAccId", "RndOffAccName", "RndOffAmt", "RndOffAmtSign"), (407, "Round Off", 0.6, "Cr")),
]


@pytest.fixture
def sale(cn, new_account):
    for _, (account, name, _, _) in LEGS:
        new_account(account, name)
    s = orv.create("ORVVchr.Sales")
    put(s, V_Id=101, V_Date=datetime.date(2008, 9, 12), V_VoucherType="Sales", V_StrVchNo="S-17")
    s.IsVatSales = True
    for (acc, _, amt, sign), (account, _, amount, amount_sign) in LEGS:
        setattr(s, acc, account)
        setattr(s, amt, amount)
        setattr(s, sign, amount_sign)
    assert s.Save("New", cn, Y1, Y2) == 0
    return s


def test_a_sale_writes_a_row_per_positive_leg_and_reads_back_with_names(sale, cn, rows):
    assert rows(
        "select V_EntryNo, V_AccId, V_Amt from VOUCHERS_2008_2009 where V_Id=101 order by V_EntryNo"
    ) == [
        (entry, account, amount) for entry, (_, (account, _, amount, _)) in enumerate(LEGS, start=1)
    ]
    back = orv.create("ORVVchr.Sales")
    back.Read(101, cn, Y1, Y2)
    assert (back.V_Id, back.V_StrVchNo) == (101, "S-17")
    assert back.V_Date == datetime.datetime(2008, 9, 12)
    for names, values in LEGS:
        assert tuple(getattr(back, n) for n in names) == values


def test_a_leg_set_to_zero_loses_its_row(sale, cn, rows):
    sale.RndOffAmt = 0
    sale.CustomerAmt = 1180
    sale.Save("Edit", cn, Y1, Y2)
    assert rows(
        "select V_EntryNo, V_Amt from VOUCHERS_2008_2009 where V_Id=101 and V_EntryNo in (1, 5)"
    ) == [(1, 1180.0)]
