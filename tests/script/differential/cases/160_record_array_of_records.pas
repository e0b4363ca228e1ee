type
  TItem = record
    Name: string;
    Qty: Integer;
    Price: Float;
  end;
var items: array[1..3] of TItem;
  i: Integer;
  total: Float;
begin
  items[1].Name := 'cable'; items[1].Qty := 3; items[1].Price := 2.5;
  items[2].Name := 'fuse'; items[2].Qty := 10; items[2].Price := 0.35;
  items[3].Name := 'meter'; items[3].Qty := 1; items[3].Price := 120;
  total := 0;
  for i := 1 to 3 do
  begin
    PrintLn(items[i].Name + ' ' + FloatToStr(items[i].Qty * items[i].Price));
    total := total + items[i].Qty * items[i].Price;
  end;
  PrintLn(total);
  items[2] := items[3];
  PrintLn(items[2].Name);
end.
