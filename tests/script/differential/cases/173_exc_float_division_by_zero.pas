var x, zero, r: Float;
  i: Integer;
begin
  zero := 0;
  r := -1;
  for i := 0 to 2 do
  begin
    x := i;
    try
      r := 1 / (x - 1);
      PrintLn(r);
    except
      on E: Exception do PrintLn('division by zero at ' + IntToStr(i));
    end;
  end;
  try
    r := zero / zero;
  except
    on E: Exception do PrintLn('zero by zero');
  end;
  PrintLn(r);
end.
