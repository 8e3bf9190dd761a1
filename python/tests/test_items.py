"""Items from Python: new item numbers, a read with its names, and an item list."""
import pytest

import orv
from conftest import Y1, Y2, put, requires

pytestmark = requires("items", "ORVItems.clsItems")

# Rows that items refer to: a group, a brand, a colour, a size and a style.
REFERRED = [
    (2, "Shirts", "G"),
    (101, "Arrow", "B"),
    (201, "Sky blue", "C"),
    (301, "XL", "S"),
    (401, "Slim fit", "T"),
]


@pytest.fixture
def items(cn):
    for number, name, kind in REFERRED:
        cn.Execute(
            "Insert into Items_2008_2009 (IM_ItemId, IM_ItemName, IM_GrpFlag, IM_GrpNo, IM_GrpLevel)"
            f" values ({number}, '{name}', '{kind}', 0, 1)"
        )
    item = orv.create("ORVItems.clsItems")
    numbers = []
    for name, rate in [
        ("Oxford shirt", 899.0),
        ("Men's 'Casual' shirt", 649.0),
        ("Linen shirt", 1299.0),
    ]:
        number = item.Get_New_ItemId(cn, Y1, Y2)
        item.ItemId, item.ItemName, item.IM_GrpNo, item.IM_Unit = number, name, 2, "Pcs"
        put(item, IM_ItemRate=rate, BrandId=101, ColorId=201, SizeId=301, StyleId=401)
        assert item.Save("New", number, cn, Y1, Y2) is None
        numbers.append(number)
    return numbers


def test_new_items_are_numbered_from_1001(items, cn):
    assert items == [1001, 1002, 1003]
    assert orv.create("ORVItems.clsItems").Get_New_ItemId(cn, Y1, Y2) == 1004


def test_an_item_reads_back_with_the_names_it_refers_to(items, cn):
    item = orv.create("ORVItems.clsItems")
    item.Read(1002, cn, Y1, Y2)

    names = (item.GroupName, item.BrandName, item.ColorName, item.SizeName, item.StyleName)
    assert names == ("Shirts", "Arrow", "Sky blue", "XL", "Slim fit")


def test_an_item_list_from_a_query(items, cn):
    query = "Select IM_ItemId from Items_2008_2009 where IM_GrpFlag='I' order by IM_ItemName"
    n, listed = orv.create("ORVItems.clsItems").Get_Item_With_Details(query, cn, Y1, Y2, [])
    assert n == 3 and listed[3] is None
    assert [(i.ItemId, i.ItemName, i.BrandName) for i in listed[:n]] == [
        (1003, "Linen shirt", "Arrow"),
        (1002, "Men's 'Casual' shirt", "Arrow"),
        (1001, "Oxford shirt", "Arrow"),
    ]


def test_a_list_query_that_writes_is_refused_and_nothing_runs(items, cn, rows):
    with pytest.raises(orv.Error) as e:
        orv.create("ORVItems.clsItems").Get_Item_With_Details(
            "Delete from Items_2008_2009", cn, Y1, Y2, []
        )
    assert e.value.number == 3002
    assert rows("select count(*) from Items_2008_2009") == [(8,)]
